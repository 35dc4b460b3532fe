#include "common/error.h"

#include "common/text.h"

#include <utility>

namespace setip {

Error::Error(int number, std::u16string description)
    : number_(number), description_(std::move(description)), what_(toUtf8(description_)) {}

Error Error::invalidCall() { return {error_number::invalidCall, u"Invalid procedure call or argument"}; }
Error Error::overflow() { return {error_number::overflow, u"Overflow"}; }
Error Error::subscriptOutOfRange() { return {error_number::subscriptOutOfRange, u"Subscript out of range"}; }
Error Error::typeMismatch() { return {error_number::typeMismatch, u"Type mismatch"}; }

}  // namespace setip
