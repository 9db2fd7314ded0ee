// The resource a module serves for each locale setting: the user's language read from LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG, and FindResourceW's choice among a resource's languages.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace test_controls = quorvane::test_controls;

const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID british = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
const LANGID french = MAKELANGID(0x0c, SUBLANG_DEFAULT);
const LANGID german = MAKELANGID(0x07, SUBLANG_DEFAULT);

const char japaneseBytes[] = "ja";
const char englishBytes[] = "en";
const char germanBytes[] = "de";
const char iconBytes[] = "icon";

constexpr const char* localeVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

// A resource in Japanese and in English, one only in Japanese and German, and a neutral icon.
class UiLanguage : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : localeVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
        test_controls::SetLinkedResources({
            {RT_STRING, MAKEINTRESOURCEW(7), japaneseBytes, 2, japanese},
            {RT_STRING, MAKEINTRESOURCEW(7), englishBytes, 2, english},
            {RT_RCDATA, MAKEINTRESOURCEW(1), japaneseBytes, 2, japanese},
            {RT_RCDATA, MAKEINTRESOURCEW(1), germanBytes, 2, german},
            {RT_GROUP_ICON, MAKEINTRESOURCEW(107), iconBytes, 4, 0},
        });
    }
    void TearDown() override
    {
        SetThreadUILanguage(0);
        for (std::size_t i = 0; i < saved_.size(); ++i)
            Set(localeVariables[i], saved_[i] ? saved_[i]->c_str() : nullptr);
        test_controls::RestoreDefaults();
    }
    static void Set(const char* name, const char* value)
    {
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    // The bytes of the resource chosen, as text.
    static std::string Chosen(HRSRC resource)
    {
        if (resource == nullptr)
            return "none";
        return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))), 2);
    }

    std::vector<std::optional<std::string>> saved_;
};

struct LocaleCase {
    const char* language;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG; null: not set
    const char* all;
    const char* messages;
    const char* lang;
    LANGID user;         // GetUserDefaultUILanguage
    const char* string;  // the string block chosen
};

TEST_F(UiLanguage, TheEnvironmentChoosesTheLanguage)
{
    const LocaleCase cases[] = {
        {nullptr, nullptr, nullptr, nullptr, japanese, "ja"},              // nothing set: C
        {nullptr, nullptr, nullptr, "C", japanese, "ja"},                  //
        {nullptr, nullptr, nullptr, "C.UTF-8", japanese, "ja"},            //
        {nullptr, nullptr, nullptr, "POSIX", japanese, "ja"},              //
        {nullptr, nullptr, nullptr, "ja_JP.UTF-8", japanese, "ja"},        //
        {nullptr, nullptr, nullptr, "en_US.UTF-8", english, "en"},         //
        {nullptr, nullptr, nullptr, "en_GB.UTF-8", british, "en"},         // by primary language
        {nullptr, nullptr, nullptr, "fr_FR.UTF-8@euro", french, "en"},     // English for the others
        {nullptr, nullptr, nullptr, "tlh", english, "en"},                 // unknown here
        {nullptr, "en_US.UTF-8", nullptr, "ja_JP.UTF-8", english, "en"},   // LC_ALL over LANG
        {nullptr, "C", "en_US.UTF-8", "en_US.UTF-8", japanese, "ja"},      // LC_ALL over both
        {nullptr, "", "en_US.UTF-8", "ja_JP.UTF-8", english, "en"},        // empty is not set
        {nullptr, nullptr, "ja_JP.UTF-8", "en_US.UTF-8", japanese, "ja"},  // LC_MESSAGES over LANG
        {"fr:en", nullptr, nullptr, "ja_JP.UTF-8", english, "en"},         // the first the program has
        {"fr:ja_JP:en", "en_US.UTF-8", nullptr, nullptr, japanese, "ja"},  // LANGUAGE over LC_ALL
        {"fr", nullptr, nullptr, "ja_JP.UTF-8", japanese, "ja"},           // none it has: the locale's
        {"fr", nullptr, nullptr, nullptr, japanese, "ja"},                 //   C
        {"fr", nullptr, nullptr, "en_GB.UTF-8", british, "en"},            //
        {"fr", "C", nullptr, "en_US.UTF-8", japanese, "ja"},               //
        {"tlh:fr", nullptr, nullptr, "it_IT.UTF-8", french, "en"},         // nor the locale's: English
        {"en", nullptr, nullptr, "C", english, "en"},                      // LANGUAGE even in C
        {"en", "C", nullptr, nullptr, english, "en"},                      //
        {"", nullptr, nullptr, "en_US", english, "en"},                    //
    };
    for (const LocaleCase& locale : cases) {
        const std::string label = std::string("LANGUAGE=") + (locale.language ? locale.language : "-") +
                                  " LC_ALL=" + (locale.all ? locale.all : "-") +
                                  " LC_MESSAGES=" + (locale.messages ? locale.messages : "-") +
                                  " LANG=" + (locale.lang ? locale.lang : "-");
        Set("LANGUAGE", locale.language);
        Set("LC_ALL", locale.all);
        Set("LC_MESSAGES", locale.messages);
        Set("LANG", locale.lang);
        EXPECT_EQ(GetUserDefaultUILanguage(), locale.user) << label;
        EXPECT_EQ(GetThreadUILanguage(), locale.user) << label;
        EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(7), RT_STRING)), locale.string) << label;
        EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(107), RT_GROUP_ICON)), "ic") << label;
    }
}

// Without English the first language listed is taken; the thread's own choice goes before the
// user's until it is taken back.
TEST_F(UiLanguage, TheThreadsLanguageChoosesThenEnglishThenTheFirst)
{
    Set("LANGUAGE", nullptr), Set("LC_ALL", nullptr), Set("LC_MESSAGES", nullptr), Set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_RCDATA)), "de");
    EXPECT_EQ(SetThreadUILanguage(english), english);
    EXPECT_EQ(GetUserDefaultUILanguage(), german);
    EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_RCDATA)), "ja");
    EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(7), RT_STRING)), "en");
    EXPECT_EQ(SetThreadUILanguage(0), german);
    EXPECT_EQ(Chosen(FindResourceW(nullptr, MAKEINTRESOURCEW(7), RT_STRING)), "en");
}

TEST_F(UiLanguage, FindResourceExTakesTheLanguageAskedFor)
{
    SetThreadUILanguage(japanese);
    EXPECT_EQ(Chosen(FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(7), english)), "en");
    EXPECT_EQ(Chosen(FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(7), MAKELANGID(LANG_ENGLISH, 0))), "en");
    EXPECT_EQ(Chosen(FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(7), 0)), "ja");  // the thread's
    SetLastError(0);
    EXPECT_EQ(FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(7), british), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_LANG_NOT_FOUND));
    EXPECT_EQ(FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(8), english), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));

    WCHAR code[3] = L"";
    EXPECT_EQ(GetLocaleInfoW(MAKELCID(japanese, SORT_DEFAULT), LOCALE_SISO639LANGNAME, code, 3), 3);
    EXPECT_EQ(std::wstring(code), L"ja");
    EXPECT_EQ(GetLocaleInfoW(MAKELCID(british, SORT_DEFAULT), LOCALE_SISO639LANGNAME, code, 2), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

}  // namespace
