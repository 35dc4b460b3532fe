#pragma once

#include <exception>
#include <string>

namespace setip {

// The standard run-time error numbers that the model raises, as the original platform numbers them.
namespace error_number {
inline constexpr int invalidCall = 5;
inline constexpr int overflow = 6;
inline constexpr int subscriptOutOfRange = 9;
inline constexpr int typeMismatch = 13;
}  // namespace error_number

// A raised run-time error: a number and a description, as a caller of the original would see it.
class Error : public std::exception {
public:
    Error(int number, std::u16string description);

    static Error invalidCall();
    static Error overflow();
    static Error subscriptOutOfRange();
    static Error typeMismatch();

    int number() const noexcept { return number_; }
    const std::u16string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    std::u16string description_;
    std::string what_;  // UTF-8 copy of the description, for what()
};

}  // namespace setip
