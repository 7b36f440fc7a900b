// Texts put together for the window: patterns filled with names that may hold
// a "%", and names cut in the middle.

#include "app/KTDisplayText.h"

#include <gtest/gtest.h>

TEST(DisplayText, PatternsAreFilledOnceWhateverTheNamesHold)
{
    const struct {
        std::string pattern;
        std::initializer_list<std::string> values;
        std::string expected;
    } cases[] = {
        {"Loaded %1 banks from %2", {"3", "a.mid"}, "Loaded 3 banks from a.mid"},
        {"%2 vor %1", {"eins", "zwei"}, "zwei vor eins"},
        {"Imported %1", {"50%2 %1 mix.wav", "x"}, "Imported 50%2 %1 mix.wav"},
        {"100% of %1", {"Bank 1"}, "100% of Bank 1"},
        {"%3 is missing, %", {"a"}, "%3 is missing, %"},
        {"%1%1", {"ab"}, "abab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KTDisplayText::filled(c.pattern, c.values), c.expected) << c.pattern;
}

TEST(DisplayText, SelectionAndCursorAreFilledIntoTheirPatterns)
{
    const std::string selected = "Selected %1 to %2: %3 samples, %4 ms";
    const std::string cursor = "Cursor at %1 (%2 ms)";
    EXPECT_EQ(KTDisplayText::selectionText(TLSampleRange{1000, 45100}, 7, 44100, selected, cursor),
              "Selected 1,000 to 45,100: 44,100 samples, 1000.00 ms");
    EXPECT_EQ(KTDisplayText::selectionText(std::nullopt, 26214, 44100, selected, cursor),
              "Cursor at 26,214 (594.42 ms)");
    for (const auto& [value, text] : std::initializer_list<std::pair<std::size_t, const char*>>{
             {0, "0"}, {999, "999"}, {1000, "1,000"}, {100000, "100,000"}, {1234567, "1,234,567"}})
        EXPECT_EQ(KTDisplayText::count(value), text);
    EXPECT_EQ(KTDisplayText::elidedMiddle(std::string(30, 'a') + std::string(30, 'b'), 11), "aaaaa\u2026bbbbb");
}
