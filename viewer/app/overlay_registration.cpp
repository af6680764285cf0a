#include "viewer/app/overlay_registration.h"

#include <sys/stat.h>

#include "overlay/interface/imerge_overlay.h"
#include "platform/com/server_registration_call.h"

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

OverlayRegistrationStep DecideOverlayRegistration(const std::string& registeredPath,
                                                  bool registeredFileExists,
                                                  const std::string& installedLibrary) {
    if (!registeredPath.empty() && registeredFileExists) return OverlayRegistrationStep::kKeep;
    if (installedLibrary.empty()) return OverlayRegistrationStep::kNothingToRegister;
    return OverlayRegistrationStep::kRegisterInstalled;
}

std::vector<std::string> OverlayLibraryCandidates(const std::string& programDir) {
    // Both paths are relative to the executable's folder, worked out by the build from the
    // install layout and from the build folder's layout.
    return {programDir + "/" + QUADREL_OVERLAY_INSTALLED_PATH,
            programDir + "/" + QUADREL_OVERLAY_BUILD_PATH};
}

std::string FirstExisting(const std::vector<std::string>& candidates,
                          const std::function<bool(const std::string&)>& exists) {
    for (const std::string& candidate : candidates)
        if (exists(candidate)) return candidate;
    return {};
}

bool EnsureOverlayRegistered(const std::string& programDir, std::string* error) {
    const std::string registered = RegisteredServerPath(CLSID_MergeOverlay);
    const bool registeredExists = !registered.empty() && IsRegularFile(registered);
    const std::string installed =
        FirstExisting(OverlayLibraryCandidates(programDir), &IsRegularFile);
    switch (DecideOverlayRegistration(registered, registeredExists, installed)) {
        case OverlayRegistrationStep::kKeep:
            return true;
        case OverlayRegistrationStep::kNothingToRegister:
            *error = "the overlay library is not registered and none was installed with quadrel";
            return false;
        case OverlayRegistrationStep::kRegisterInstalled:
            return SUCCEEDED(CallServerRegistration(installed, false, error));
    }
    return true;
}
