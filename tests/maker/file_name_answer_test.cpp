#include "maker/file_name_answer.h"
#include "tests/maker/maker_test_support.h"

#include <algorithm>

namespace {

TEST(FileNameAnswer, KeepsWhatAPupilWouldType) {
    const struct {
        const char* name;
        const char* answer;
    } rows[] = {
        {"Tour Eiffel.jpg", "Tour Eiffel"},
        {"01 - Tour Eiffel.jpg", "Tour Eiffel"},
        {"02 arc de triomphe.JPG", "arc de triomphe"},
        {"3 Pont Neuf.jpeg", "Pont Neuf"},
        {"10_mont-saint-michel.png", "mont saint michel"},
        {"10 - Mont Saint-Michel.jpg", "Mont Saint-Michel"},
        {"2. Louvre.gif", "Louvre"},
        {"7) Orsay.jpg", "Orsay"},
        {"Notre-Dame de Paris.jpg", "Notre-Dame de Paris"},
        {"tour_eiffel-de-nuit.jpg", "tour eiffel de nuit"},
        {"Notre Dame (2).jpg", "Notre Dame"},
        {"Louvre - Copie.jpg", "Louvre"},
        {"Louvre - Copie (2).jpg", "Louvre"},
        {"Louvre - Copy.jpg", "Louvre"},
        {"Louvre copy.jpg", "Louvre"},
        {"Copie de Louvre.jpg", "Louvre"},
        {"\xC3\x89tretat.jpg", "\xC3\x89tretat"},
        {"04 \xC3\x89tretat.jpg", "\xC3\x89tretat"}, // a letter beyond ASCII follows the number
        {"1984.jpg", "1984"},                        // a number alone is the answer
        {"2CV.jpg", "2CV"},                          // no separator: part of the word
        {"A380.jpg", "A380"},
        {"Photo de classe.jpg", "Photo de classe"},
        {"IMG 1234 Tour Eiffel.jpg", "IMG 1234 Tour Eiffel"}, // the author added words
        // Names no one typed: the author is asked.
        {"IMG_1234.jpg", ""},
        {"IMG_20240512_101532.jpg", ""},
        {"IMG_20240512_101532 (2).jpg", ""},
        {"IMG-20240512-WA0001.jpg", ""},
        {"DSC01234.JPG", ""},
        {"DSCN0042.jpg", ""},
        {"PXL_20240512_101532123.MP.jpg", ""},
        {"P1010001.JPG", ""},
        {"WhatsApp Image 2024-05-12 at 10.15.32.jpeg", ""},
        {"Screenshot_20240512-101532_Chrome.png", ""},
        {"Screenshot 2024-05-12 at 10.15.32.png", ""},
        {"Capture d'\xC3\xA9"
         "cran 2024-05-12 \xC3\xA0 10.15.32.png",
         ""},
        {"Capture d\xE2\x80\x99\xC3\xA9"
         "cran 2024-05-12 101532.png",
         ""},
        {"2024-05-12 10.15.32.jpg", ""},
        {"20240512_101532.jpg", ""},
        {"-.jpg", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(answerFromFileName(row.name), row.answer) << row.name;
}

TEST(FileNameAnswer, SortsNamesAsPeopleCount) {
    // Each row is in order; every name must come before every later one and not after.
    const std::vector<std::vector<std::string>> rows = {
        {"2.jpg", "10.jpg", "100.jpg"},
        {"a2.jpg", "a10.jpg", "b1.jpg"},
        {"photo 9", "Photo 10", "PHOTO 11"},
        {"007", "8", "08b"}, // leading zeros do not count
        {"1 b", "a"},        // digits before letters
        {"B", "b"},          // equal but for case: still one order
        {"a1", "Z2", "z3"},  // letters without regard to case, to the last
    };
    for (const auto& names : rows) {
        for (size_t i = 0; i < names.size(); ++i) {
            for (size_t j = 0; j < names.size(); ++j)
                EXPECT_EQ(naturalLess(names[i], names[j]), i < j) << names[i] << " / " << names[j];
        }
    }
}

} // namespace
