// The SnapShot button on the window with the simulated grabber: one JPEG per enabled channel with
// a signal, named for one local time, matching the pane's picture; the folder and free-space
// rules. The disk's free space and the time are the test's.
#include <cstring>

#include "platform/ui/scripted_prompts.h"
#include "tests/viewer/main_window/snapshot_fixture.h"
#include "tests/viewer/snapshots/jpeg_file.h"
#include "viewer/snapshots/image_action.h"
#include "viewer/snapshots/jpeg_writer.h"

namespace main_window_test {
namespace {

using snapshot_test::DecodedJpeg;
using snapshot_test::DecodeJpeg;

// The JPEG that the renderer's copied current picture (GetCurrentImage) gives at `path`.
bool WriteCopiedPicture(CaptureGraph* graph, int channel, const std::string& path) {
    ComPtr<IVMRWindowlessControl9> control;
    BYTE* dib = nullptr;
    if (FAILED(graph->renderers[channel - 1].As(&control)) ||
        control->GetCurrentImage(&dib) != S_OK)
        return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    const int written =
        WriteJpegBottomUpBgr(path.c_str(), dib + sizeof header, static_cast<UINT>(header.biWidth),
                             static_cast<UINT>(header.biHeight), 4, kSnapshotQuality);
    CoTaskMemFree(dib);
    return written == 1;
}

// The current picture of the renderer of `channel` as top-down RGB rows.
std::vector<std::uint8_t> CurrentPicture(CaptureGraph* graph, int channel, int* width,
                                         int* height) {
    ComPtr<IVMRWindowlessControl9> control;
    EXPECT_EQ(graph->renderers[channel - 1].As(&control), S_OK);
    BYTE* dib = nullptr;
    if (!control || control->GetCurrentImage(&dib) != S_OK) return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    *width = header.biWidth;
    *height = header.biHeight;
    std::vector<std::uint8_t> rgb =
        snapshot_test::TopDownRgbOf32BitDib(dib + sizeof header, *width, *height);
    CoTaskMemFree(dib);
    return rgb;
}

TEST_F(SnapshotTest, SnapShotSavesEachLiveChannelAsItsPaneShowsItUnderOneTime) {
    OpenWithPictures("signal=2,4", {2, 4});
    CaptureGraph* graph = window_->Capture().Graph();
    // The pictures stay as they are while the graph is stopped.
    ASSERT_EQ(StopGraph(graph), S_OK);
    clock_.milliseconds = 123;
    disk_.SetFreeMiB(31);
    Click(IDC_SNAPSHOT);
    EXPECT_TRUE(prompts_.Records().empty());
    EXPECT_EQ(disk_.asked, folder_);
    const std::vector<std::string> names = Pictures();
    ASSERT_EQ(names, (std::vector<std::string>{"ch2_2011-05-22-08-05-09-0123.jpg",
                                               "ch4_2011-05-22-08-05-09-0123.jpg"}));
    for (const int channel : {2, 4}) {
        int width = 0, height = 0;
        const std::vector<std::uint8_t> shown = CurrentPicture(graph, channel, &width, &height);
        const DecodedJpeg file = DecodeJpeg(folder_ + names[channel == 2 ? 0 : 1]);
        ASSERT_TRUE(file.ok) << channel;
        EXPECT_EQ(file.width, 720);
        EXPECT_EQ(file.height, 576);
        EXPECT_EQ(file.components, 3);
        EXPECT_GE(snapshot_test::Psnr(file.pixels, shown), 30.0) << channel;
        // The snapshot shares the renderer's picture instead of copying it: it is the very file
        // the copy gives.
        const std::string copy = files_.File("copy.jpg");
        ASSERT_TRUE(WriteCopiedPicture(graph, channel, copy));
        EXPECT_TRUE(testing_support::ReadFile(copy) ==
                    testing_support::ReadFile(folder_ + names[channel == 2 ? 0 : 1]))
            << "channel " << channel << ": the snapshot differs from the copied picture's file";
    }
}

TEST_F(SnapshotTest, ThirtyMiBFreeRefusesWithTheMessageAndThirtyOneTakes) {
    OpenWithPictures("signal=1", {1});
    disk_.SetFreeMiB(30);
    Click(IDC_SNAPSHOT);
    const auto boxes = prompts_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("请检查磁盘剩余空间!"));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(Pictures().empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder_)) << "the folder is made before the check";

    prompts_ = CScriptedPrompts();
    disk_.SetFreeMiB(31);
    Click(IDC_SNAPSHOT);
    EXPECT_TRUE(prompts_.Records().empty());
    EXPECT_EQ(Pictures().size(), 1u);
}

TEST_F(SnapshotTest, DisabledChannelsAreSkippedAndTheCustomFolderIsUsedWhenChosen) {
    EnableOnly(0b0001);  // channel 2 has a signal but is disabled
    const std::string custom = files_.Path() + "/own/";
    SetDword(setting::kSnapSavePathFrom, 2);
    SetString(setting::kSnapSavePath, utf16::FromUtf8(custom).c_str());
    OpenWithPictures("signal=1,2", {1});
    Click(IDC_SNAPSHOT);
    EXPECT_EQ(disk_.asked, custom);
    EXPECT_EQ(Pictures(custom), (std::vector<std::string>{"ch1_2011-05-22-08-05-09-0000.jpg"}));
    EXPECT_TRUE(Pictures().empty()) << "nothing in the recording folder";
}

TEST_F(SnapshotTest, SnapShotWaitsForTheLoginAndAFolderThatCannotBeMadeSavesNothing) {
    OpenWithPictures("signal=1", {1});
    window_->Lock().LockViewer();
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    Click(IDC_SNAPSHOT);
    EXPECT_TRUE(Pictures().empty());

    PlayLogin(QStringLiteral("Admin"), QString());
    SetString(setting::kSaveFilePath, utf16::FromUtf8(files_.Path() + "/a/b/").c_str());
    Click(IDC_SNAPSHOT);
    EXPECT_FALSE(std::filesystem::exists(files_.Path() + "/a"));
    EXPECT_EQ(prompts_.MessageBoxes().size(), 0u);
}

}  // namespace
}  // namespace main_window_test
