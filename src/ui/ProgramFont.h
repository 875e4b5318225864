#pragma once

// Sets the application font: the Simplified Chinese CJK family first, so the
// built-in and Chinese texts show Simplified glyphs whatever the locale.
void ApplyProgramFont();
