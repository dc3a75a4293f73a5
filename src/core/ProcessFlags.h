// Process-wide flags, written on the main thread before any reader runs.
#pragma once

struct ProcessFlags {
    // The product's uninstall entry did not exist at start-up.
    bool firstInstall = true;
    // The installed product is at least as new as the server's version.
    bool reinstall = false;
};

ProcessFlags& GetProcessFlags();
