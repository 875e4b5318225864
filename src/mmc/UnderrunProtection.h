#pragma once

#include <string>

// Whether the drive offers buffer underrun protection, so that BUFE may be
// set in the Write Parameters page: the BUF bit of the capabilities page
// (2Ah, current values), or that of the current write feature (CD Track At
// Once 002Dh, CD Mastering 002Eh, DVD-R/-RW Write 002Fh). A drive that
// answers neither is taken as having none.
bool HasUnderrunProtection(const std::string& drive);
