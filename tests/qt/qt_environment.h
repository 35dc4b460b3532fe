#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace setip::testing_support {

// One QApplication for the whole test program, on the offscreen platform, so the widgets are real but need no
// display.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "setip-qt-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

}  // namespace setip::testing_support
