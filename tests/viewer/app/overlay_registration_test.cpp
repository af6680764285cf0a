// The overlay's registration at start: the decision alone, then the real registry and the built
// libvexlay.so (found as the viewer finds it in its build folder).
#include <gtest/gtest.h>

#include <set>

#include "overlay/interface/imerge_overlay.h"
#include "platform/base/utf16.h"
#include "platform/com/server_registration_call.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"
#include "viewer/app/overlay_registration.h"

namespace {

TEST(OverlayRegistrationDecision, RegistersOnlyWhenNoExistingLibraryIsRegistered) {
    const std::string ours = "/usr/lib/quadrel/libvexlay.so";
    using Step = OverlayRegistrationStep;
    EXPECT_EQ(DecideOverlayRegistration("", false, ours), Step::kRegisterInstalled);
    EXPECT_EQ(DecideOverlayRegistration("/gone/libvexlay.so", false, ours),
              Step::kRegisterInstalled);
    EXPECT_EQ(DecideOverlayRegistration(ours, true, ours), Step::kKeep);
    // Another existing library is someone's choice (a developer's build): left alone.
    EXPECT_EQ(DecideOverlayRegistration("/home/dev/libvexlay.so", true, ours), Step::kKeep);
    EXPECT_EQ(DecideOverlayRegistration("/home/dev/libvexlay.so", true, ""), Step::kKeep);
    EXPECT_EQ(DecideOverlayRegistration("", false, ""), Step::kNothingToRegister);
    EXPECT_EQ(DecideOverlayRegistration("/gone/libvexlay.so", false, ""), Step::kNothingToRegister);
}

TEST(OverlayRegistrationDecision, TheInstalledLayoutComesBeforeTheBuildFolder) {
    const std::vector<std::string> candidates = OverlayLibraryCandidates("/opt/q/bin");
    ASSERT_EQ(candidates.size(), 2u);
    for (const std::string& candidate : candidates) {
        EXPECT_TRUE(candidate.starts_with("/opt/q/bin/")) << candidate;
        EXPECT_TRUE(candidate.ends_with("/libvexlay.so")) << candidate;
    }
    EXPECT_NE(candidates[0].find("/quadrel/libvexlay.so"), std::string::npos) << candidates[0];

    const std::set<std::string> present = {candidates[1]};
    const auto exists = [&present](const std::string& path) { return present.contains(path); };
    EXPECT_EQ(FirstExisting(candidates, exists), candidates[1]);
    EXPECT_EQ(FirstExisting(candidates, [](const std::string&) { return true; }), candidates[0]);
    EXPECT_EQ(FirstExisting(candidates, [](const std::string&) { return false; }), "");
}

// The viewer's executable's folder in the build tree, where the build folder's library is found.
const char kProgramDir[] = QUADREL_PROGRAM_DIR;

void RegisterPath(const std::string& path) {
    const std::u16string key = u"CLSID\\" + guid::ToWide(CLSID_MergeOverlay) + u"\\InprocServer32";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const std::u16string text = utf16::FromUtf8(path);
    EXPECT_EQ(
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * 2)),
        ERROR_SUCCESS);
    RegCloseKey(handle);
}

std::string BuiltLibrary() {
    char* resolved = ::realpath(VEXLAY_LIBRARY, nullptr);
    std::string path = resolved ? resolved : "";
    std::free(resolved);
    return path;
}

class OverlayRegistrationTest : public testing::Test {
  protected:
    testing_support::TempRegistry registry_;
    testing_support::TempDir dir_;
};

TEST_F(OverlayRegistrationTest, AnEmptyRegistryGetsTheLibraryBuiltBesideTheViewer) {
    std::string error;
    ASSERT_TRUE(EnsureOverlayRegistered(kProgramDir, &error)) << error;
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlay), BuiltLibrary());
    // The library's own registration wrote its other class too.
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlayPropertyPage), BuiltLibrary());
}

TEST_F(OverlayRegistrationTest, ARegistrationOfAVanishedFileIsReplaced) {
    RegisterPath(dir_.File("removed/libvexlay.so"));
    std::string error;
    ASSERT_TRUE(EnsureOverlayRegistered(kProgramDir, &error)) << error;
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlay), BuiltLibrary());
}

TEST_F(OverlayRegistrationTest, AnotherExistingLibraryIsLeftAlone) {
    const std::string other = dir_.File("libvexlay.so");
    testing_support::WriteFile(other, "not loaded: only its existence counts");
    RegisterPath(other);
    std::string error;
    ASSERT_TRUE(EnsureOverlayRegistered(kProgramDir, &error)) << error;
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlay), other);
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlayPropertyPage), "");
}

TEST_F(OverlayRegistrationTest, AFolderIsNoLibraryAndAViewerWithoutOneSaysSo) {
    // A registered path naming a folder is as good as gone; with no library beside the viewer
    // there is nothing to put in its place.
    RegisterPath(dir_.Path());
    std::string error;
    EXPECT_FALSE(EnsureOverlayRegistered(dir_.File("bin"), &error));
    EXPECT_NE(error.find("not registered"), std::string::npos) << error;
    EXPECT_EQ(RegisteredServerPath(CLSID_MergeOverlay), dir_.Path());
}

}  // namespace
