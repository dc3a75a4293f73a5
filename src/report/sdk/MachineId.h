// Stable machine ids for the SDK and its companion DLL: 32 lower-case hex
// digits of the MD5 of a salt and the machine's GUID (falling back to the
// computer name when the GUID is unreadable). The same machine always gives
// the same id for the same salt. Any thread.
#pragma once

#include <string>

std::string MachineDigest(const std::string& salt);
