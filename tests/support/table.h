#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace setip::testing_support {

// Names a table row's test after its `name` field, so a failure reads as the behaviour that broke.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        std::string out;
        for (const char c : std::string{row.param.name}) {
            out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return out;
    }
};

}  // namespace setip::testing_support
