#pragma once

// Panel files keep the Windows font names they were written with; drawing
// maps those names to installed fonts with the same look (Traditional
// Chinese Ming and Kai faces, the common Latin faces). Safe to call often.
void installWindowsFontSubstitutes();
