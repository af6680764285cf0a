// The program's options.
#include <gtest/gtest.h>

#include <vector>

#include "viewer/app/command_line.h"

namespace {

bool Parse(std::vector<const char*> args, QuadrelOptions* options, std::string* error) {
    args.insert(args.begin(), "quadrel");
    return ParseCommandLine(args, options, error);
}

TEST(CommandLineTest, NoOptionsRunTheDefaultSimulator) {
    QuadrelOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, &options, &error));
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(options.noDevice);
    EXPECT_FALSE(options.scenario);
    EXPECT_FALSE(options.screenshot);
}

TEST(CommandLineTest, ScenarioAndScreenshotTakeTheirValueEitherWay) {
    QuadrelOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--simulate", "signal=1; 5s remove", "--screenshot=/tmp/a b.png"}, &options,
                      &error));
    EXPECT_EQ(options.scenario, "signal=1; 5s remove");
    EXPECT_EQ(options.screenshot, "/tmp/a b.png");
    ASSERT_TRUE(Parse({"--simulator=absent", "--screenshot", "x.png", "--no-device", "-h"},
                      &options, &error));
    EXPECT_EQ(options.scenario, "absent");
    EXPECT_EQ(options.screenshot, "x.png");
    EXPECT_TRUE(options.noDevice);
    EXPECT_TRUE(options.help);
    ASSERT_TRUE(Parse({"--simulate="}, &options, &error));  // the default scenario
    EXPECT_EQ(options.scenario, "");
}

TEST(CommandLineTest, MistakesAreRefusedWithTheReasonAndChangeNothing) {
    QuadrelOptions options;
    options.noDevice = true;
    std::string error;
    EXPECT_FALSE(Parse({"--simulate"}, &options, &error));
    EXPECT_EQ(error, "--simulate needs a value");
    EXPECT_FALSE(Parse({"--screenshot"}, &options, &error));
    EXPECT_EQ(error, "--screenshot needs a value");
    EXPECT_FALSE(Parse({"--screenshot="}, &options, &error));
    EXPECT_EQ(error, "--screenshot needs a file name");
    EXPECT_FALSE(Parse({"--no-device", "--simulat", "x"}, &options, &error));
    EXPECT_EQ(error, "unknown option \"--simulat\"");
    EXPECT_FALSE(Parse({"picture.png"}, &options, &error));
    EXPECT_TRUE(options.noDevice);
    EXPECT_FALSE(options.scenario);
}

TEST(CommandLineTest, HelpNamesEveryOption) {
    const std::string usage = UsageText();
    for (const char* option :
         {"--simulate", "--no-device", "--layout", "--screenshot", "--version", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(CommandLineTest, VersionIsAnOptionOfItsOwn) {
    QuadrelOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--version", "--no-device"}, &options, &error));
    EXPECT_TRUE(options.version);
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(Parse({"--version=1"}, &options, &error));
    EXPECT_EQ(VersionText(), "quadrel " QUADREL_VERSION "\n");
}

}  // namespace

namespace {

TEST(CommandLineTest, LayoutTakesOnlyTheThreeLayouts) {
    QuadrelOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--layout", "3"}, &options, &error));
    EXPECT_EQ(options.layout, 3);
    ASSERT_TRUE(Parse({"--layout=1"}, &options, &error));
    EXPECT_EQ(options.layout, 1);
    ASSERT_TRUE(Parse({}, &options, &error));
    EXPECT_FALSE(options.layout);
    for (const char* bad : {"2", "0", "5", "", "4x", "quad"}) {
        const std::string arg = std::string("--layout=") + bad;
        EXPECT_FALSE(Parse({arg.c_str()}, &options, &error)) << bad;
        EXPECT_EQ(error, "--layout takes 1, 3 or 4") << bad;
    }
    EXPECT_FALSE(Parse({"--layout"}, &options, &error));
    EXPECT_EQ(error, "--layout needs a value");
}

}  // namespace

namespace {

TEST(CommandLineTest, DeviceTakesOneNodeOrUpToFourNodesAndListDevicesStandsAlone) {
    QuadrelOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--device", "/dev/v4l/by-id/usb-grabber-video-index0"}, &options, &error));
    EXPECT_EQ(options.device, "/dev/v4l/by-id/usb-grabber-video-index0");
    EXPECT_FALSE(options.listDevices);
    ASSERT_TRUE(
        Parse({"--device=/dev/video0,/dev/video1,/dev/video2,/dev/video3", "--list-devices"},
              &options, &error));
    EXPECT_TRUE(options.listDevices);
    EXPECT_EQ(
        ParseDeviceNodes(*options.device),
        (std::vector<std::string>{"/dev/video0", "/dev/video1", "/dev/video2", "/dev/video3"}));
    for (const char* bad :
         {"--device=", "--device=/dev/video0,", "--device=a,,b", "--device=a,b,c,d,e"}) {
        EXPECT_FALSE(Parse({bad}, &options, &error)) << bad;
        EXPECT_EQ(error, "--device takes a video node, or up to four nodes separated by ','");
    }
    EXPECT_FALSE(Parse({"--device"}, &options, &error));
    EXPECT_EQ(error, "--device needs a value");
}

TEST(CommandLineTest, HelpTellsWhatRealDevicesGet) {
    const std::string usage = UsageText();
    for (const char* text :
         {"--device", "--list-devices", "/dev/v4l/by-id/", "video group", "own sound card"})
        EXPECT_NE(usage.find(text), std::string::npos) << text;
}

}  // namespace
