// The overlay library's registration at start: the viewer registers the library installed with
// it when the user's registry has no usable registration of the overlay class, so that an
// installed program (or one run from its build folder) needs no registration step of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum class OverlayRegistrationStep {
    kKeep,               // registered to a library file that exists (ours or another): left alone
    kRegisterInstalled,  // not registered, or registered to a file that is gone: register ours
    kNothingToRegister,  // no usable registration, and no library was installed with the viewer
};

// Decides from the registered library path (empty: the class is not registered), whether that
// file exists, and the library installed with the viewer (empty: none found).
OverlayRegistrationStep DecideOverlayRegistration(const std::string& registeredPath,
                                                  bool registeredFileExists,
                                                  const std::string& installedLibrary);

// Where the library installed with the viewer may be, given the folder of the viewer's
// executable: the installed layout's private library folder first, then the build folder's.
std::vector<std::string> OverlayLibraryCandidates(const std::string& programDir);

// The first of `candidates` for which `exists` is true; empty when none is.
std::string FirstExisting(const std::vector<std::string>& candidates,
                          const std::function<bool(const std::string&)>& exists);

// Applies the decision to the real registry and files: registers the installed library through
// its own DllRegisterServer when needed. False, with the reason in *error, when a registration
// was needed and failed (the viewer then runs without overlays on its recordings).
bool EnsureOverlayRegistered(const std::string& programDir, std::string* error);
