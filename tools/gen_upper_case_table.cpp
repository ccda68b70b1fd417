// Writes machine/upper_case_table.inc, the simple upper-case mapping the machine uses for typing and
// Encrypt, from the toolkit the panel types with, so that both agree character for character.
// Build and run by hand when the toolkit moves to a new Unicode version:
//   g++ -std=c++20 -fPIC tools/gen_upper_case_table.cpp $(pkg-config --cflags --libs Qt6Core) -o /tmp/gen
//   /tmp/gen > machine/upper_case_table.inc
#include <QChar>
#include <cstdio>
int main()
{
    int n = 0;
    std::printf("// Generated from Qt %s's QChar::toUpper: every code point whose simple upper-case "
                "mapping\n// is another code point, as {code point, upper case}, in rising order.\n",
                QT_VERSION_STR);
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        char32_t u = QChar::toUpper(c);
        if (u != c) {
            std::printf("{0x%X, 0x%X},%s", unsigned(c), unsigned(u), (++n % 6) ? " " : "\n");
        }
    }
    std::printf("\n");
}
