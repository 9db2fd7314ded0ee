// Reading the command line: options with their values, actions in order, one output file.
#include "snapshot_request.h"

#include "app/commands.h"

#include <charconv>
#include <cstddef>

namespace quorvane::snapshot {

namespace {

// The viewer's last function key, "F9".
std::string LastKey()
{
    return "F" + std::to_string(functionKeyCount);
}

}  // namespace

std::string Usage()
{
    return R"(usage: quorvane-snapshot [--dir DIR] [--size WxH] [--language ja|en] [ACTION]... OUTPUT.png
  --dir DIR      start-up directory: Data/ and Quorvane.ini are read there (default: the current one); the INI is never written
  --size WxH     client size in pixels (default 1024x768)
  --language L   the help texts in ja (Japanese) or en (English) (default: from the locale, as the viewer chooses)
  --left DX,DY   a left-button drag by DX,DY pixels (as one mouse move while the button is down)
  --right DX,DY  a right-button drag by DX,DY pixels
  --wheel N      N wheel notches of 120 (positive: forward, towards the Earth; negative: back)
  --key Fn       a function key, F1 … )" +
           LastKey() + R"(
  --pointer X,Y  a mouse move with no button to client position X,Y (the projection rays follow it)
  --circle X0,Y0,X1,Y1
                 a left drag with Ctrl held from client position X0,Y0 to X1,Y1: a circle about the
                 point pressed (on the Earth, or on the plane) through the point released
)";
}

namespace {

constexpr unsigned largestSize = 8192;  // the largest back buffer the device makes
constexpr int largestDrag = 32767;      // mouse coordinates are 16-bit
constexpr int mostNotches = 10000;      // far more than the distance range needs

// The whole text as a decimal integer in [lowest, highest].
bool ParseInt(std::string_view text, int lowest, int highest, int& value)
{
    const char* end = text.data() + text.size();
    auto [stop, status] = std::from_chars(text.data(), end, value);
    return status == std::errc() && stop == end && !text.empty() && value >= lowest && value <= highest;
}

// "A<separator>B" as two integers in [lowest, highest].
bool ParsePair(std::string_view text, char separator, int lowest, int highest, int& a, int& b)
{
    const std::size_t at = text.find(separator);
    return at != std::string_view::npos && ParseInt(text.substr(0, at), lowest, highest, a) &&
           ParseInt(text.substr(at + 1), lowest, highest, b);
}

bool EndsWithPng(const std::string& name)
{
    if (name.size() <= 4)
        return false;
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == ".png";
}

// Reads the value of option at arguments[index], advancing index past it.
bool OptionValue(const std::vector<std::string>& arguments, std::size_t& index, std::string& value, std::string& error)
{
    if (index + 1 >= arguments.size()) {
        error = arguments[index] + " needs a value";
        return false;
    }
    value = arguments[++index];
    return true;
}

bool ParseOption(const std::string& option, const std::string& value, Request& request, std::string& error)
{
    int a = 0, b = 0;
    if (option == "--dir") {
        if (value.empty()) {
            error = "--dir needs a directory";
            return false;
        }
        request.directory = value;
    } else if (option == "--size") {
        if (!ParsePair(value, 'x', 1, largestSize, a, b)) {
            error = "--size takes WxH, each from 1 to " + std::to_string(largestSize) + ": " + value;
            return false;
        }
        request.width = static_cast<unsigned>(a);
        request.height = static_cast<unsigned>(b);
    } else if (option == "--language") {
        if (value != "ja" && value != "en") {
            error = "--language takes ja or en: " + value;
            return false;
        }
        request.language = value;
    } else if (option == "--left" || option == "--right") {
        if (!ParsePair(value, ',', -largestDrag, largestDrag, a, b)) {
            error = option + " takes DX,DY in pixels: " + value;
            return false;
        }
        request.actions.push_back({option == "--left" ? Action::Kind::LeftDrag : Action::Kind::RightDrag, a, b, 0, 0});
    } else if (option == "--wheel") {
        if (!ParseInt(value, -mostNotches, mostNotches, a)) {
            error = "--wheel takes a number of notches: " + value;
            return false;
        }
        request.actions.push_back({Action::Kind::Wheel, 0, 0, a, 0});
    } else if (option == "--key") {
        if (value.size() < 2 || (value[0] != 'F' && value[0] != 'f') ||
            !ParseInt(std::string_view(value).substr(1), 1, functionKeyCount, a)) {
            error = "--key takes F1 to " + LastKey() + ": " + value;
            return false;
        }
        request.actions.push_back({Action::Kind::Key, 0, 0, 0, a});
    } else if (option == "--pointer") {
        if (!ParsePair(value, ',', -largestDrag, largestDrag, a, b)) {
            error = "--pointer takes X,Y in client pixels: " + value;
            return false;
        }
        request.actions.push_back({Action::Kind::Pointer, 0, 0, 0, 0, a, b});
    } else if (option == "--circle") {
        const std::size_t middle = value.find(',', value.find(',') + 1);
        int c = 0, d = 0;
        if (middle == std::string::npos ||
            !ParsePair(std::string_view(value).substr(0, middle), ',', -largestDrag, largestDrag, a, b) ||
            !ParsePair(std::string_view(value).substr(middle + 1), ',', -largestDrag, largestDrag, c, d)) {
            error = "--circle takes X0,Y0,X1,Y1 in client pixels: " + value;
            return false;
        }
        request.actions.push_back({Action::Kind::Circle, 0, 0, 0, 0, a, b, c, d});
    } else {
        error = "unknown option " + option;
        return false;
    }
    return true;
}

}  // namespace

std::optional<Request> ParseArguments(const std::vector<std::string>& arguments, std::string& error)
{
    Request request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            request.help = true;
            return request;
        }
        if (argument.size() > 1 && argument[0] == '-') {
            std::string value;
            if (!OptionValue(arguments, i, value, error) || !ParseOption(argument, value, request, error))
                return std::nullopt;
            continue;
        }
        if (!request.output.empty()) {
            error = "more than one output file: " + request.output + ", " + argument;
            return std::nullopt;
        }
        request.output = argument;
    }
    if (request.output.empty()) {
        error = "no output file";
        return std::nullopt;
    }
    if (!EndsWithPng(request.output)) {
        error = "the output file must end in .png: " + request.output;
        return std::nullopt;
    }
    return request;
}

}  // namespace quorvane::snapshot
