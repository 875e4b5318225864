#pragma once

#include <functional>

// Every wait of the program (retry and poll waits) goes through here, so tests
// can count the waits instead of sleeping.
void SleepMilliseconds(int milliseconds);
// Replaces the real sleep; an empty function restores it.
void SetSleepHandler(std::function<void(int)> handler);
