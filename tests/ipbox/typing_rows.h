#pragma once

#include <ostream>
#include <string_view>

namespace setip::testing_support {

// Keys typed into a blank address field, and the address it then holds. The Qt field is held to the system's
// SysIPAddress32 by the same rows: the Qt suite types them into its field, the Windows suite into the real one.
struct TypingRow {
    const char* name;
    const char* keys;       // typed as characters, except: \b Backspace, < and > the Left and Right arrows, ^ Ctrl+V
    const char* clipboard;  // what Ctrl+V pastes
    const char* address;
    bool onWine;  // false where Wine's SysIPAddress32 types otherwise, as the row's comment says
};

inline void PrintTo(const TypingRow& row, std::ostream* out) {
    *out << '"';
    for (const char key : std::string_view{row.keys}) {
        if (key == '\b') *out << "\\b";
        else *out << key;
    }
    *out << "\" with \"" << row.clipboard << "\" to paste gives " << row.address;
}

inline constexpr TypingRow typingRows[] = {
    {"dots move to the next part", "10.0.0.7", "", "10.0.0.7", true},
    {"a space moves on as a dot does", "10 0 0 7", "", "10.0.0.7", true},
    {"three digits move to the next part", "1921681", "", "192.168.1.0", true},
    {"a dot after three digits is ignored there", "192.168.1.1", "", "192.168.1.1", true},
    {"a dot in an empty part is ignored", "1..2", "", "1.2.0.0", true},
    // Wine's field takes the digit and sets the part to 255, then stays there taking neither the dot nor the 1:
    // 255.0.0.0.
    {"a digit making the part over 255 is refused", "300.1", "", "30.1.0.0", false},
    {"backspace in an empty part goes back and deletes there", "12.\b3", "", "13.0.0.0", true},
    {"backspace at the start of a part goes back and deletes there", "1.23<<\b4", "", "4.23.0.0", true},
    {"left at the start of a part goes to the end of the previous one", "1.2<<3", "", "13.2.0.0", true},
    {"right at the end of a part goes to the start of the next one", "12.3<<>4", "", "12.43.0.0", true},
    // Wine's field ignores Ctrl+V in every part, a single number too (0.0.0.0); its part given WM_PASTE keeps the
    // first three characters (10.0.0.0).
    {"a pasted dotted address fills all four parts", "^", "10.0.0.7", "10.0.0.7", false},
    {"four blank parts read as 0", "", "", "0.0.0.0", true},
};

}  // namespace setip::testing_support
