#pragma once
// The one limit of a functional test's wait for something it expects to
// happen. Generous: the suite runs on busy machines and under sanitizers,
// several times slower; how soon a thing happens is a benchmark's business,
// not a test's.
constexpr int EventWaitMs = 60000;
