#pragma once

#include <thread>

// Panel files keep the Windows font names they were written with; drawing
// maps those names to installed fonts with the same look (Traditional
// Chinese Ming and Kai faces, the common Latin faces). Safe to call often.
void installWindowsFontSubstitutes();

// Loading the system's font configuration takes longer than any other piece of a
// program's start, and nothing before the first window needs it: this worker loads it
// while the program sets itself up (from before the application object on), so that
// the font database finds it loaded. Waited for when destroyed.
class FontConfigPreload
{
public:
    FontConfigPreload();
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload &) = delete;
    FontConfigPreload &operator=(const FontConfigPreload &) = delete;

private:
    std::thread m_worker;
};
