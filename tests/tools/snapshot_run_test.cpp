// The built quorvane-snapshot run as a user runs it: its exit codes, its messages, the PNG it
// writes and what it leaves behind when it cannot make one.
#include "temp_directory.h"
#include "viewer_data.h"

#include "scene/camera.h"
#include "scene/tissot_lines.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace quorvane::tests {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string errors;
};

class SnapshotRunTest : public testing::Test {
protected:
    void SetUp() override { WriteSmallViewerData(dir.Path("run")); }

    ToolRun Snapshot(const std::string& arguments, const std::string& environment = "")
    {
        const std::string command = "env " + environment + std::string(QUORVANE_SNAPSHOT) + " " + arguments + " 2>" +
                                    dir.Path("errors.txt") + " >/dev/null";
        const int status = std::system(command.c_str());
        ToolRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.errors = dir.Read("errors.txt");
        return run;
    }

    // The PNG's size and pixels (0xAARRGGBB); width 0 when it cannot be read.
    struct Picture {
        png_uint_32 width = 0;
        png_uint_32 height = 0;
        std::vector<png_uint_32> pixels;
    };
    Picture ReadPng(const std::string& path)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        Picture picture;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return picture;
        image.format = PNG_FORMAT_BGRA;
        picture.pixels.resize(std::size_t{image.width} * image.height);
        if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
            picture.width = image.width;
            picture.height = image.height;
        }
        return picture;
    }

    // Whether the yellow of the projection rays is within a pixel of (x, y).
    static bool YellowNear(const Picture& picture, int x, int y)
    {
        bool found = false;
        for (int i = 0; i < 9; ++i)
            found |= picture.pixels[std::size_t((y - 1 + i / 3) * 640 + x - 1 + i % 3)] == 0xFFFFFF00;
        return found;
    }

    // Whether colour is within a pixel of (x, y) of a 640 x 480 picture.
    static bool ColourNear(const Picture& picture, int x, int y, png_uint_32 colour)
    {
        bool found = false;
        for (int i = 0; i < 9; ++i)
            found |= picture.pixels[std::size_t((y - 1 + i / 3) * 640 + x - 1 + i % 3)] == colour;
        return found;
    }

    // White pixels of the help line `line` (the sixth is under the eye position, rows 128 to 151).
    static auto HelpLinePixels(const Picture& picture, int line = 6)
    {
        const int top = 8 + (line - 1) * 24;
        return std::count(&picture.pixels[std::size_t(top) * 640], &picture.pixels[std::size_t(top + 24) * 640],
                          0xFFFFFFFFu);
    }
    static auto SixthHelpLinePixels(const Picture& picture) { return HelpLinePixels(picture); }

    // Whether two pictures of one view agree as the OpenGL 3.3 and ES 3.0 ones do: ES remaps depth
    // in the vertex shader, and a few pixels where faces and lines nearly meet take the other one
    // (llvmpipe: at most 18 levels, in 11 of 921600 channels). At most 32 levels, and in at most
    // one channel in 10000 more than 2.
    static bool AlikeAcrossProfiles(const Picture& a, const Picture& b)
    {
        std::size_t far = 0;
        for (std::size_t i = 0; a.width != 0 && a.width == b.width && i < a.pixels.size() * 3; ++i) {
            int difference =
                std::abs(int((a.pixels[i / 3] >> (i % 3 * 8)) & 0xFF) - int((b.pixels[i / 3] >> (i % 3 * 8)) & 0xFF));
            far += difference > 32 ? a.pixels.size() : difference > 2 ? 1 : 0;
        }
        return a.width != 0 && a.width == b.width && a.height == b.height && far * 10000 <= a.pixels.size() * 3;
    }
    static bool RunsOnES()
    {
        const char* gl = std::getenv("QUORVANE_GL");
        return gl && std::string(gl) == "es3";
    }

    TempDirectory dir;
    std::string runDir = dir.Path("run");
    std::string output = dir.Path("out.png");
    std::string readmePicture = (std::filesystem::path(QUORVANE_SNAPSHOT_DOC).parent_path() / "snapshot.png").string();
    std::string small = "--dir " + runDir + " --size 640x480 ";  // the pictures the rays are probed in
};

TEST_F(SnapshotRunTest, WritesTheViewersPictureAtTheRequestedSize)
{
    const ToolRun run = Snapshot("--dir " + runDir + " --size 320x200 --right 0,80 --key F2 --key F3 " + output);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    const Picture picture = ReadPng(output);
    ASSERT_EQ(picture.width, 320u);
    ASSERT_EQ(picture.height, 200u);
    // From above, the Earth's image covers the bottom of the picture in the stand-in colour.
    EXPECT_TRUE(NearColor(picture.pixels[std::size_t{199} * 320 + 5], standInEarthColor));
    EXPECT_FALSE(std::filesystem::exists(runDir + "/Quorvane.ini"));  // read, never written
    EXPECT_EQ(dir.List().size(), 3u) << "run, errors.txt, out.png and nothing else";
}

TEST_F(SnapshotRunTest, ReadsTheSettingsOfItsDirectory)
{
    WriteDataFile(runDir, "Quorvane.ini",
                  "[QUORVANE]\nSHOW_EARTH=0\nSHOW_HELP=0\nSHOW_LATITUDELINE=0\nSHOW_LONGITUDELINE=0\n");
    ASSERT_EQ(Snapshot("--dir " + runDir + " --size 320x200 " + output).exitCode, 0);
    const Picture withoutEarth = ReadPng(output);
    ASSERT_EQ(withoutEarth.width, 320u);
    // The Earth would cover the centre; without it the background shows above the horizon.
    EXPECT_EQ(withoutEarth.pixels[std::size_t{90} * 320 + 160] & 0xFFFFFF, 0u);
    ASSERT_EQ(Snapshot("--dir " + runDir + " --size 320x200 --key F4 " + output).exitCode, 0);
    EXPECT_TRUE(NearColor(ReadPng(output).pixels[std::size_t{90} * 320 + 160], standInEarthColor));
}

// The pointer at the centre of 640 x 480: P under it, C = (0, r, 0) and P' on the centre column
// (rows worked out by hand: from the start view P = (0, 0, -1), P' = (0, -r, -2); from 0.3 rad
// above, P = (0, sin 0.3, -cos 0.3), P' = (0, -r, -2.7236)). The dot at C and the crosses show;
// the line shows between P and P' and is hidden inside the Earth, between C and P. Switched off
// again, the rays leave the default picture as it was.
TEST_F(SnapshotRunTest, TheRaysShowWhereThePointerPointsBeforeAndAfterADrag)
{
    ASSERT_EQ(Snapshot(small + output).exitCode, 0);
    const Picture plain = ReadPng(output);
    ASSERT_EQ(Snapshot(small + "--pointer 320,240 --key F7 --key F7 " + output).exitCode, 0);
    EXPECT_TRUE(ReadPng(output).pixels == plain.pixels);
    EXPECT_EQ(SixthHelpLinePixels(plain), 0);
    const struct {
        std::string actions;
        int centre, onSphere, image;
    } views[] = {{"", 199, 240, 291}, {"--right 0,30 --left -40,0 ", 200, 240, 335}};
    for (const auto& view : views) {
        ASSERT_EQ(Snapshot(small + view.actions + "--key F7 --pointer 320,240 " + output).exitCode, 0);
        const Picture picture = ReadPng(output);
        ASSERT_EQ(picture.width, 640u);
        EXPECT_TRUE(YellowNear(picture, 320, view.centre)) << view.actions;
        EXPECT_TRUE(YellowNear(picture, 323, view.onSphere + 3)) << view.actions;  // a diagonal of the cross
        EXPECT_TRUE(YellowNear(picture, 323, view.image + 3)) << view.actions;
        EXPECT_TRUE(YellowNear(picture, 320, (view.onSphere + view.image) / 2)) << view.actions;
        EXPECT_FALSE(YellowNear(picture, 320, (view.centre + view.onSphere) / 2)) << view.actions;
        EXPECT_GT(SixthHelpLinePixels(picture), 20) << view.actions;  // the place P names
    }
}

// Tissot's circle about the Earth's front point (0, 0, -1), seen from 1.55 rad above after four
// notches forward. Its image on the plane (0.01 above the Earth's image, at y = -r + 0.01) was
// worked out by hand: nearest and farthest along z at 2r cos 5 / (r -+ sin 5) = 2.1847029 and
// 1.8311943, widest across at x = +-2r sin 5 / sqrt(r^2 - sin^2 5) = +-0.1749908, z = -2.0079486.
// Those points, through the camera the actions make, are where the picture must show the
// circle's colour, and 3 pixels further out or in it must not. With the rays on and the pointer at
// the image's centre, the same circle shows highlighted and the overlay gains a seventh line.
TEST_F(SnapshotRunTest, TissotCirclesImageHasTheRadiiWorkedByHand)
{
    const std::string view = small + "--right 0,200 --wheel 4 --key F8 ";
    ResetEarthAndCamera();
    DragOrbitCamera(0, 200);
    for (int notch = 0; notch < 4; ++notch)
        MoveCameraByWheel(120);
    D3DXMATRIX camera, projection;
    BuildViewMatrix(&camera, nullptr);
    BuildProjectionMatrix(640.0f / 480.0f, &projection);
    const D3DXMATRIX viewProjection = camera * projection;
    const auto pixel = [&](float x, float z) {
        D3DXVECTOR3 at;
        const D3DXVECTOR3 world(x, -1.0f / 1.01f + 0.01f, z);
        D3DXVec3TransformCoord(&at, &world, &viewProjection);
        return std::pair{(at.x + 1.0f) * 320.0f, (1.0f - at.y) * 240.0f};
    };
    const auto [centreX, centreY] = pixel(0.0f, -2.0079486f);
    const std::pair<float, float> extremes[] = {pixel(0.0f, -2.1847029f), pixel(0.0f, -1.8311943f),
                                                pixel(0.1749908f, -2.0079486f), pixel(-0.1749908f, -2.0079486f)};
    const struct {
        std::string actions;
        png_uint_32 colour;
        bool seventhLine;
    } cases[] = {{"", 0xFF000000u | tissotCircleColor, false},
                 {"--key F7 --pointer " + std::to_string(int(std::lround(centreX))) + "," +
                      std::to_string(int(std::lround(centreY))) + " ",
                  0xFF000000u | tissotHighlightColor, true}};
    std::ptrdiff_t plainSeventh = 0;
    for (const auto& c : cases) {
        ASSERT_EQ(Snapshot(view + c.actions + output).exitCode, 0);
        const Picture picture = ReadPng(output);
        ASSERT_EQ(picture.width, 640u);
        for (const std::pair<float, float>& extreme : extremes) {
            const float x = extreme.first, y = extreme.second;  // named: a lambda below takes them
            const float dx = x - centreX, dy = y - centreY, length = std::hypot(dx, dy);
            ASSERT_GT(length, 10.0f) << "the image is big enough to measure";
            const auto at = [&](float out) {
                return ColourNear(picture, int(std::lround(x + dx / length * out)),
                                  int(std::lround(y + dy / length * out)), c.colour);
            };
            EXPECT_TRUE(at(0.0f)) << c.actions << " at " << x << "," << y;
            EXPECT_FALSE(at(3.0f)) << c.actions << " beyond " << x << "," << y;
            EXPECT_FALSE(at(-3.0f)) << c.actions << " inside " << x << "," << y;
        }
        // The Earth's rim may cross the seventh line's rows: the readout adds to what is there.
        const auto seventh = HelpLinePixels(picture, 7);
        if (c.seventhLine) {
            EXPECT_GT(seventh, plainSeventh + 20) << c.actions;
        }
        plainSeventh = seventh;
    }
}

// Tissot's circles switched on and off again, and a circle drawn and cleared, leave the documented
// picture byte for byte as it is; the circle itself changes it.
TEST_F(SnapshotRunTest, TheDocumentedPictureIsUnchangedWithTissotCirclesSwitchedOff)
{
    std::ostringstream shown;
    shown << std::ifstream(std::filesystem::path(QUORVANE_SNAPSHOT_DOC).parent_path() / "snapshot.png",
                           std::ios::binary)
                 .rdbuf();
    const std::string readme = "--dir " + std::filesystem::path(QUORVANE_SNAPSHOT).parent_path().string() +
                               " --size 480x360 --right 20,30 --left -40,0 ";
    const std::string circle = "--circle 240,300,300,300 ";
    for (const std::string& keys : {std::string(), std::string("--key F8 --key F8 "), circle, circle + "--key F9 "}) {
        ASSERT_EQ(Snapshot(readme + keys + output).exitCode, 0);
        // A drawn circle changes the picture; drawn and cleared, it leaves it as it was.
        if (keys == circle)
            EXPECT_NE(dir.Read("out.png"), shown.str());
        else if (RunsOnES())
            EXPECT_TRUE(AlikeAcrossProfiles(ReadPng(output), ReadPng(readmePicture))) << keys;
        else
            EXPECT_EQ(dir.Read("out.png"), shown.str()) << keys;
    }
}

// A machine without OpenGL 3.3 draws the same picture on ES without being told to; one with
// neither profile gets a message naming what was needed and what the machine has.
TEST_F(SnapshotRunTest, TheProfileFallsBackToESAndNamesWhatIsMissing)
{
    struct Case {
        std::string environment;
        int exitCode;
        std::string message;
    };
    const std::string only31 = "QUORVANE_GL= MESA_GL_VERSION_OVERRIDE=3.1 MESA_GLSL_VERSION_OVERRIDE=140 ";
    const std::vector<Case> cases = {
        {only31, 0, ""},
        {only31 + "MESA_GLES_VERSION_OVERRIDE=2.0 ", 1,
         "no OpenGL context: the viewer needs OpenGL 3.3 core or OpenGL ES 3.0, and this machine offers OpenGL 3.1"},
        {"QUORVANE_GL=gl33 MESA_GL_VERSION_OVERRIDE=3.1 MESA_GLSL_VERSION_OVERRIDE=140 ", 1,
         "no OpenGL context: the viewer needs OpenGL 3.3 core, and this machine offers OpenGL 3.1"},
    };
    const std::string readme = "--dir " + std::filesystem::path(QUORVANE_SNAPSHOT).parent_path().string() +
                               " --size 480x360 --right 20,30 --left -40,0 ";
    for (const Case& c : cases) {
        std::filesystem::remove(output);
        const ToolRun run = Snapshot(readme + output, c.environment);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.environment << run.errors;
        if (c.exitCode == 0)
            EXPECT_TRUE(AlikeAcrossProfiles(ReadPng(output), ReadPng(readmePicture))) << c.environment;
        else
            EXPECT_NE(run.errors.find("quorvane-snapshot: the Direct3D device could not be created: " + c.message),
                      std::string::npos)
                << run.errors;
    }
}

TEST_F(SnapshotRunTest, BadArgumentsExitWithTwoAndTheUsage)
{
    const ToolRun run = Snapshot("--size 0x0 " + output);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("usage: quorvane-snapshot"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(SnapshotRunTest, AMissingDataFileIsNamedAndNoPictureIsLeft)
{
    dir.Write("out.png", "an older picture");
    std::filesystem::remove(runDir + "/Data/mdl/" QUORVANE_EARTH_IMAGE);
    const ToolRun noEarth = Snapshot("--dir " + runDir + " " + output);
    EXPECT_EQ(noEarth.exitCode, 1);
    EXPECT_NE(noEarth.errors.find(runDir + "/Data/mdl/" QUORVANE_EARTH_IMAGE), std::string::npos) << noEarth.errors;
    EXPECT_EQ(dir.Read("out.png"), "an older picture");

    WriteDataFile(runDir, "Data/mdl/" QUORVANE_EARTH_IMAGE, "not an image");
    const ToolRun notImage = Snapshot("--dir " + runDir + " " + output);
    EXPECT_EQ(notImage.exitCode, 1);
    EXPECT_NE(notImage.errors.find("is not an image"), std::string::npos) << notImage.errors;

    std::filesystem::remove(runDir + "/Data/mdl/sphere.x");
    const ToolRun noSphere = Snapshot("--dir " + runDir + " " + output);
    EXPECT_EQ(noSphere.exitCode, 1);
    EXPECT_NE(noSphere.errors.find("missing data file " + runDir + "/Data/mdl/sphere.x"), std::string::npos)
        << noSphere.errors;
    EXPECT_EQ(dir.Read("out.png"), "an older picture");
    EXPECT_EQ(dir.List().size(), 3u) << "no partial file beside the output";
}

TEST_F(SnapshotRunTest, AnUnwritableOutputFailsWithoutAPartialFile)
{
    const ToolRun run = Snapshot("--dir " + runDir + " " + dir.Path("no/such/folder/out.png"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("cannot create " + dir.Path("no/such/folder/out.png")), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace quorvane::tests
