// The quadrel program as a person runs it: its help, its refusals, and its --screenshot picture
// of the skinned window with and without the simulated grabber. The program runs in real time,
// so these runs wait for it (bounded).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <algorithm>
#include <functional>
#include <iterator>

#include "tests/support/temp_dir.h"

namespace {

// Panes at 7/4 pixel per unit: channel 1 top left, channel 2 bottom left, channel 4 top right.
const QRect kPane1(26, 19, 315, 238);
const QRect kPane2(26, 261, 315, 238);
const QRect kPane4(348, 19, 315, 238);

struct ProgramRun {
    int exitCode = -1;
    QString output;
};

class QuadrelProgramTest : public testing::Test {
  protected:
    // Runs the program offscreen in the C locale (its own Chinese texts, whatever the
    // developer's locale), or in `lang` when given; `adjust` may change its environment before.
    ProgramRun Start(const QStringList& arguments, const QString& lang = QStringLiteral("C.UTF-8"),
                     const std::function<void(QProcessEnvironment&)>& adjust = {}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("LANG"), lang);
        environment.insert(QStringLiteral("QUADREL_REGISTRY_DIR"),
                           QString::fromStdString(registry_.Path()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("QUADREL_SIMULATOR"));
        if (adjust) adjust(environment);
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(QUADREL_PROGRAM), arguments);
        EXPECT_TRUE(program.waitForFinished(120000));
        ProgramRun run;
        run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.output = QString::fromUtf8(program.readAll());
        return run;
    }
    QString Picture() const { return QString::fromStdString(dir_.File("window.png")); }

    // How many pixels of `area` are near white (stamp text), and whether it is all black.
    static int WhitePixels(const QImage& image, const QRect& area) {
        int white = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qRed(image.pixel(x, y)) > 230 && qGreen(image.pixel(x, y)) > 230 &&
                    qBlue(image.pixel(x, y)) > 230)
                    ++white;
        return white;
    }
    static bool AllBlack(const QImage& image, const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); y += 3)
            for (int x = area.left(); x <= area.right(); x += 3)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0) return false;
        return true;
    }

    testing_support::TempRegistry registry_;
    testing_support::TempDir dir_;
};

TEST_F(QuadrelProgramTest, HelpExplainsTheOptionsAndMistakesAreRefused) {
    const ProgramRun help = Start({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains(QStringLiteral("--simulate SCENARIO")));
    EXPECT_TRUE(help.output.contains(QStringLiteral("--screenshot FILE")));
    // --version needs no display either, and is answered before the other options are read.
    const ProgramRun version =
        Start({QStringLiteral("--version"), QStringLiteral("--layout"), QStringLiteral("7")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, QStringLiteral("quadrel " QUADREL_VERSION "\n"));
    const ProgramRun unknown = Start({QStringLiteral("--record")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.output.contains(QStringLiteral("unknown option")));
    const ProgramRun scenario =
        Start({QStringLiteral("--simulate"), QStringLiteral("5s unplgu 2")});
    EXPECT_EQ(scenario.exitCode, 2);
    EXPECT_TRUE(scenario.output.contains(QStringLiteral("unplgu")));
}

// Without a display the program says in one line what it needs and ends with status 1, instead
// of Qt's abort; a folder that cannot take the screenshot and a huge or binary argument are
// told in short, printable lines.
TEST_F(QuadrelProgramTest, NoDisplayAMissingFolderAndABadLongArgumentAreToldInOneLine) {
    const auto noDisplay = [](QProcessEnvironment& environment) {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
    };
    const auto unreachable = [](QProcessEnvironment& environment) {
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9731"));
    };
    for (const auto& adjust : {std::function<void(QProcessEnvironment&)>(noDisplay),
                               std::function<void(QProcessEnvironment&)>(unreachable)}) {
        const ProgramRun run = Start({}, QStringLiteral("C.UTF-8"), adjust);
        EXPECT_EQ(run.exitCode, 1);  // -1 when it aborted
        EXPECT_TRUE(run.output.startsWith(QStringLiteral("quadrel: no display")))
            << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QStringLiteral("xvfb-run -a quadrel")));
        EXPECT_EQ(run.output.count(QLatin1Char('\n')), 1) << run.output.toStdString();
    }

    const QString missing = QString::fromStdString(dir_.File("no-such-folder/window.png"));
    const ProgramRun screenshot = Start({QStringLiteral("--screenshot"), missing});
    EXPECT_EQ(screenshot.exitCode, 1);
    EXPECT_TRUE(screenshot.output.contains(QStringLiteral("no-such-folder\" does not exist")))
        << screenshot.output.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    const ProgramRun scenario =
        Start({QStringLiteral("--simulate"), QString(100000, QLatin1Char('x'))});
    EXPECT_EQ(scenario.exitCode, 2);
    EXPECT_LT(scenario.output.size(), 1000);
    EXPECT_TRUE(scenario.output.contains(QStringLiteral("xxx...")));
    const ProgramRun escape = Start({QStringLiteral("--colour\x1b[31m")});
    EXPECT_EQ(escape.exitCode, 2);
    EXPECT_TRUE(escape.output.contains(QStringLiteral("\"--colour?[31m\"")));
    EXPECT_FALSE(escape.output.contains(QLatin1Char('\x1b')));
}

TEST_F(QuadrelProgramTest, ScreenshotWithoutGrabberShowsTheShapedSkinAndEmptyPanes) {
    const ProgramRun run =
        Start({QStringLiteral("--no-device"), QStringLiteral("--screenshot"), Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage picture(Picture());
    ASSERT_EQ(picture.size(), QSize(881, 608));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);  // outside the rounded outline
    EXPECT_EQ(qAlpha(picture.pixel(440, 300)), 255);
    EXPECT_TRUE(AllBlack(picture, kPane1));
    EXPECT_TRUE(AllBlack(picture, kPane4));
}

TEST_F(QuadrelProgramTest, ScreenshotWithGrabberShowsLiveCamerasWithTheirStamps) {
    const ProgramRun run = Start({QStringLiteral("--simulate"), QStringLiteral("signal=1,4"),
                                  QStringLiteral("--screenshot"), Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage picture(Picture());
    ASSERT_EQ(picture.size(), QSize(881, 608));
    EXPECT_FALSE(AllBlack(picture, kPane1));
    EXPECT_FALSE(AllBlack(picture, kPane4));
    // No camera on input 2: no video, only "No Signal" on the line through the middle and the
    // channel's title at the top.
    const int middle = kPane2.top() + kPane2.height() / 2;
    EXPECT_TRUE(AllBlack(picture, QRect(kPane2.left(), kPane2.top() + 16, kPane2.width(),
                                        middle - 10 - kPane2.top() - 16)));
    EXPECT_TRUE(AllBlack(
        picture, QRect(kPane2.left(), middle + 10, kPane2.width(), kPane2.bottom() - middle - 10)));
    EXPECT_GT(WhitePixels(picture, QRect(kPane2.left(), middle - 10, kPane2.width(), 20)), 20);
    EXPECT_GT(WhitePixels(picture, QRect(kPane2.left(), kPane2.top(), 100, 14)), 20);
    // "Channel 1" at the top left and the date and time at the bottom right of its pane.
    EXPECT_GT(WhitePixels(picture, QRect(kPane1.left(), kPane1.top(), 100, 12)), 40);
    EXPECT_GT(WhitePixels(picture, QRect(kPane1.right() - 200, kPane1.bottom() - 12, 200, 12)), 80);
}

TEST_F(QuadrelProgramTest, AnEnglishLocaleRepaintsTheSkinCaptionsOnly) {
    ProgramRun run =
        Start({QStringLiteral("--no-device"), QStringLiteral("--screenshot"), Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage own = QImage(Picture()).convertToFormat(QImage::Format_ARGB32);
    run = Start({QStringLiteral("--no-device"), QStringLiteral("--screenshot"), Picture()},
                QStringLiteral("en_US.UTF-8"));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage english = QImage(Picture()).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(english.size(), own.size());
    // The captions of the control panel and of the layout buttons, where the artwork has them.
    const QRect captions[] = {QRect(716, 24, 150, 14), QRect(716, 70, 150, 14),
                              QRect(716, 138, 150, 14), QRect(716, 322, 150, 14),
                              QRect(30, 523, 200, 14)};
    int changedOutside = 0;
    int changedInside[std::size(captions)] = {};
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x) {
            if (own.pixel(x, y) == english.pixel(x, y)) continue;
            const auto* in = std::find_if(std::begin(captions), std::end(captions),
                                          [x, y](const QRect& r) { return r.contains(x, y); });
            if (in == std::end(captions))
                ++changedOutside;
            else
                ++changedInside[in - std::begin(captions)];
        }
    for (std::size_t i = 0; i < std::size(captions); ++i)
        EXPECT_GT(changedInside[i], 20) << captions[i].x() << "," << captions[i].y();
    EXPECT_EQ(changedOutside, 0);
}

}  // namespace

namespace {

// Where the panes go in the other layouts: the quad panes' union, and its upper three quarters.
const QRect kFull(26, 19, 637, 480);

// Pixels of camera 1's picture (blue stripes) in `area`; pane pictures are black and white only.
int CameraOnePixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            if (qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) + 40) ++count;
    return count;
}

TEST_F(QuadrelProgramTest, LayoutOptionPutsTheCurrentCameraWhereTheLayoutSays) {
    // Single view: channel 1's camera fills the whole video area, over the other panes' places.
    ProgramRun run =
        Start({QStringLiteral("--simulate"), QStringLiteral("signal=1"), QStringLiteral("--layout"),
               QStringLiteral("1"), QStringLiteral("--screenshot"), Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    QImage picture(Picture());
    EXPECT_GT(CameraOnePixels(picture, kPane4.adjusted(20, 20, -20, -20)), 1000);
    EXPECT_GT(CameraOnePixels(picture, kPane2.adjusted(20, 20, -20, -20)), 1000);

    // One big pane above three small ones: channel 1 spans the width in the upper part, and
    // channel 2's small pane (no camera) sits at the bottom left with its "No Signal" line.
    run =
        Start({QStringLiteral("--simulate"), QStringLiteral("signal=1"), QStringLiteral("--layout"),
               QStringLiteral("3"), QStringLiteral("--screenshot"), Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    picture = QImage(Picture());
    const int bigBottom = kFull.top() + 3 * kFull.height() / 4 - 4;
    EXPECT_GT(CameraOnePixels(picture, QRect(kFull.right() - 120, kFull.top() + 30, 100, 100)), 500)
        << "the big pane reaches the right edge";
    EXPECT_EQ(CameraOnePixels(picture, QRect(kFull.left() + 8, bigBottom + 16, 100, 60)), 0)
        << "channel 1 is not in the bottom strip";
    const QRect small0(kFull.left() + 8, bigBottom + 16, kFull.width() / 3 - 24,
                       kFull.bottom() - bigBottom - 24);
    EXPECT_GT(WhitePixels(picture, small0), 10) << "\"No Signal\" in the first small pane";
}

}  // namespace
