// quorvane-window-picture: the client area of a window Wine shows, and whether it is a reference
// picture.
//
//   quorvane-window-picture area WINDOW
//       prints the client area as "WIDTH HEIGHT X Y" (X, Y: its top-left corner on the screen)
//   quorvane-window-picture compare WINDOW REFERENCE.png NAME [SECONDS]
//       reads the client area until it matches REFERENCE.png (picture_match.h), at most SECONDS
//       (10 by default: the window draws a frame after the input it was sent, in its own time);
//       writes the last reading to NAME-wine.png and where it differs to NAME-difference.png,
//       says how much differs; exits 0 when it matched, 1 when it did not, 2 on an error.
//   quorvane-window-picture files WINE.png REFERENCE.png NAME [REACH]
//       the same for a reading kept before (to try the tolerance on pictures made to differ, and
//       for pictures read elsewhere); with REACH, a pixel matches any within REACH pixels of it
//       (picture_match.h).
#include "client_area.h"
#include "picture_match.h"
#include "png_file.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace {

using namespace quorvane::window_picture;

constexpr int failed = 1;
constexpr int troubled = 2;

int Trouble(const std::string& message)
{
    std::cerr << "quorvane-window-picture: " << message << "\n";
    return troubled;
}

bool Write(const std::string& path, const Picture& picture, std::string& error)
{
    return quorvane::snapshot::WriteRgbPng(path, picture.width, picture.height, picture.pixels, error);
}

int PrintArea(Display* display, Window window)
{
    std::string error;
    const auto area = FindClientArea(display, window, error);
    if (!area)
        return Trouble(error);
    std::cout << area->width << " " << area->height << " " << area->x << " " << area->y << "\n";
    return 0;
}

bool Read(const std::string& path, Picture& picture, std::string& error)
{
    return quorvane::snapshot::ReadRgbPng(path, picture.width, picture.height, picture.pixels, error);
}

// Writes where the pictures differ, and says how much.
int Report(const Picture& wine, const Picture& reference, const std::string& name, int reach = 0)
{
    std::string error;
    if (!Write(name + "-difference.png", DifferenceImage(wine, reference, reach), error))
        return Trouble(error);
    const PictureDifference difference = Compare(wine, reference, reach);
    std::cout << name << ": " << difference.differing << " of " << reference.pixels.size()
              << " pixels differ by more than " << differingLevel << " levels (at most " << difference.allowed
              << " may), the largest difference " << difference.largest << "\n";
    return difference.Matches() ? 0 : failed;
}

int CompareFiles(const std::string& winePath, const std::string& referencePath, const std::string& name, int reach)
{
    std::string error;
    Picture wine, reference;
    if (!Read(winePath, wine, error) || !Read(referencePath, reference, error))
        return Trouble(error);
    if (wine.width != reference.width || wine.height != reference.height)
        return Trouble("the pictures are not of the same size");
    return Report(wine, reference, name, reach);
}

// The client area, when it has the reference's size.
std::optional<Picture> ReadSized(Display* display, Window window, const Picture& reference, std::string& error)
{
    const auto area = FindClientArea(display, window, error);
    if (area && (area->width != reference.width || area->height != reference.height)) {
        error = "the client area is " + std::to_string(area->width) + "x" + std::to_string(area->height) +
                ", the reference " + std::to_string(reference.width) + "x" + std::to_string(reference.height);
        return std::nullopt;
    }
    return area ? ReadClientArea(display, *area, error) : std::nullopt;
}

// The client area read until it matches, or until the time is up, and the last reading compared
// and kept.
int CompareArea(Display* display, Window window, const std::string& referencePath, const std::string& name,
                double seconds)
{
    std::string error;
    Picture reference;
    if (!Read(referencePath, reference, error))
        return Trouble(error);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::optional<Picture> wine;
    for (;;) {
        std::optional<Picture> reading = ReadSized(display, window, reference, error);
        const bool matches = reading && Compare(*reading, reference).Matches();
        if (reading)
            wine = std::move(reading);
        if (matches || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (!wine)
        return Trouble(error);
    if (!Write(name + "-wine.png", *wine, error))
        return Trouble(error);
    return Report(*wine, reference, name);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    const bool area = command == "area" && argc == 3;
    const bool compare = command == "compare" && (argc == 5 || argc == 6);
    if (command == "files" && (argc == 5 || argc == 6))
        return CompareFiles(argv[2], argv[3], argv[4], argc == 6 ? std::clamp(std::atoi(argv[5]), 0, 4) : 0);
    if (!area && !compare) {
        std::cerr << "usage: quorvane-window-picture area WINDOW\n"
                     "       quorvane-window-picture compare WINDOW REFERENCE.png NAME [SECONDS]\n"
                     "       quorvane-window-picture files WINE.png REFERENCE.png NAME [REACH]\n";
        return troubled;
    }
    char* end = nullptr;
    const Window window = std::strtoul(argv[2], &end, 0);
    if (*end != '\0' || window == 0)
        return Trouble(std::string("not a window id: ") + argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return Trouble("cannot open the X display (DISPLAY is not set?)");
    const int status = area ? PrintArea(display, window)
                            : CompareArea(display, window, argv[3], argv[4], argc == 6 ? std::atof(argv[5]) : 10.0);
    XCloseDisplay(display);
    return status;
}
