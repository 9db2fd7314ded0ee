// The viewer in the language of its locale: the About box's title and the View menu's mnemonics
// are those of the language chosen. Each run leaves pictures of the open View menu, the About box
// and the help text, language-<case>-*.png in the test's working directory, to look at.
#include "viewer_test.h"

#include <fstream>
#include <sstream>

namespace quorvane::tests {
namespace {

struct LanguageCase {
    const char* name;
    const char* locale;          // the environment entry the viewer starts with
    const char* aboutTitle;      // the About box's title in the language chosen
    const char* latitudeLetter;  // the View menu's mnemonic for the latitude lines
};

class ViewerLanguage : public EndToEnd, public testing::WithParamInterface<LanguageCase> {};

TEST_P(ViewerLanguage, TheAboutBoxAndTheMenuAreInTheLocalesLanguage)
{
    const LanguageCase& language = GetParam();
    StartViewer(ViewerData::Complete, {language.locale});
    const std::string prefix = std::string("language-") + language.name;
    session->SaveScreen(prefix + "-window.png");

    Key("alt+slash");
    ASSERT_TRUE(WaitForOwnWindow(language.aboutTitle, true)) << "no About box titled " << language.aboutTitle;
    session->SaveScreen(prefix + "-about.png");
    Key("Escape");
    ASSERT_TRUE(WaitForOwnWindow(language.aboutTitle, false));

    // The latitude lines go off through their item's mnemonic, which only that language's menu has.
    Key("alt+v");
    session->SaveScreen(prefix + "-view-menu.png");
    Key(language.latitudeLetter);
    Key("alt+f");
    Key("x");
    EXPECT_EQ(ExitCode(), 0);
    std::ostringstream ini;
    ini << std::ifstream(viewer->Directory().Path("Quorvane.ini")).rdbuf();
    EXPECT_NE(ini.str().find("SHOW_LATITUDELINE=0"), std::string::npos) << ini.str();
}

INSTANTIATE_TEST_SUITE_P(Locales, ViewerLanguage,
                         testing::Values(LanguageCase{"english", "LANG=en_US.UTF-8", "About Quorvane", "a"},
                                         LanguageCase{"french_then_english", "LANGUAGE=fr:en", "About Quorvane", "a"},
                                         LanguageCase{"japanese", "LANG=ja_JP.UTF-8", "バージョン情報 Quorvane", "n"},
                                         LanguageCase{"c", "LANG=C", "バージョン情報 Quorvane", "n"}),
                         [](const testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::tests
