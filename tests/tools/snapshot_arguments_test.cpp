// The snapshot tool's command line: options, actions in order, one PNG output, and the reasons
// it refuses.
#include "quorvane-snapshot/snapshot_request.h"

#include "app/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::snapshot {
namespace {

std::optional<Request> Parse(const std::vector<std::string>& arguments, std::string* error = nullptr)
{
    std::string reason;
    auto request = ParseArguments(arguments, reason);
    if (error != nullptr)
        *error = reason;
    return request;
}

TEST(SnapshotArguments, DefaultsAndOptions)
{
    auto plain = Parse({"out.png"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->directory, ".");
    EXPECT_EQ(plain->width, 1024u);
    EXPECT_EQ(plain->height, 768u);
    EXPECT_TRUE(plain->actions.empty());
    EXPECT_EQ(plain->output, "out.png");

    EXPECT_EQ(plain->language, "");

    auto full = Parse({"--dir", "run", "--size", "1920x1080", "--language", "en", "pictures/Earth.PNG"});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->directory, "run");
    EXPECT_EQ(full->width, 1920u);
    EXPECT_EQ(full->height, 1080u);
    EXPECT_EQ(full->language, "en");
    EXPECT_EQ(full->output, "pictures/Earth.PNG");
}

TEST(SnapshotArguments, ActionsKeepTheirOrder)
{
    auto request = Parse({"--left", "100,-40", "--key", "F4", "--wheel", "-3", "--right", "0,80", "--pointer", "9,8",
                          "--circle", "1,-2,30,40", "out.png"});
    ASSERT_TRUE(request);
    using Kind = Action::Kind;
    const std::vector<Action> expected{{Kind::LeftDrag, 100, -40, 0, 0},  {Kind::Key, 0, 0, 0, 4},
                                       {Kind::Wheel, 0, 0, -3, 0},        {Kind::RightDrag, 0, 80, 0, 0},
                                       {Kind::Pointer, 0, 0, 0, 0, 9, 8}, {Kind::Circle, 0, 0, 0, 0, 1, -2, 30, 40}};
    EXPECT_EQ(request->actions, expected);
}

TEST(SnapshotArguments, BadArgumentsAreRefusedWithAReason)
{
    const std::string nextKey = "F" + std::to_string(functionKeyCount + 1);
    const std::vector<std::vector<std::string>> refused{
        {},                                    // no output
        {"--size", "1024x768"},                // still no output
        {"a.png", "b.png"},                    // two outputs
        {"out.jpg"},                           // not a PNG name
        {"--size", "0x768", "out.png"},        // empty picture
        {"--size", "1024", "out.png"},         // no height
        {"--size", "9000x100", "out.png"},     // larger than a back buffer can be
        {"--left", "5", "out.png"},            // one delta
        {"--left", "5,x", "out.png"},          // not a number
        {"--right", "5,6,7", "out.png"},       // three
        {"--wheel", "1.5", "out.png"},         // notches are whole
        {"--key", nextKey, "out.png"},         // no such key in the viewer
        {"--pointer", "5", "out.png"},         // one coordinate
        {"--circle", "1,2,3", "out.png"},      // three coordinates
        {"--circle", "1,2,3,4,5", "out.png"},  // five
        {"--key", "F", "out.png"},             // no number
        {"--zoom", "2", "out.png"},            // unknown option
        {"--language", "fr", "out.png"},       // a language the viewer does not have
        {"out.png", "--dir"},                  // option without its value
    };
    for (const auto& arguments : refused) {
        std::string error;
        EXPECT_FALSE(Parse(arguments, &error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

TEST(SnapshotArguments, ItsDocumentShowsTheUsageAsTheToolPrintsIt)
{
    std::ostringstream document;
    document << std::ifstream(QUORVANE_SNAPSHOT_DOC).rdbuf();
    EXPECT_NE(document.str().find("```\n" + Usage() + "```\n"), std::string::npos) << Usage();
    EXPECT_TRUE(Parse({"--key", "f" + std::to_string(functionKeyCount), "out.png"}));
}

TEST(SnapshotArguments, HelpStopsReading)
{
    auto request = Parse({"--help", "--zoom"});
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->help);
}

}  // namespace
}  // namespace quorvane::snapshot
