#pragma once

// A fresh application for each test, on a fixed 1280 x 1024 screen with a
// fixed window frame, so positions and sizes do not depend on the machine.

#include <gtest/gtest.h>
#include <QMargins>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/dialogs.h"

namespace kx::test {

// The frame every test window gets: 4 pixels at the sides and bottom, a
// 20-pixel caption bar.
inline const QMargins kTestFrame{4, 20, 4, 4};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_app = std::make_unique<TApplication>();
        Screen->SetSizeForTesting(1280, 1024);
        Screen->SetFrameMarginsForTesting(kTestFrame);
        SetMessageBoxHandler([this](const TMessageBoxRequest& r) {
            m_boxes.push_back(r);
            return m_boxAnswer;
        });
    }
    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        m_app.reset();
    }

    TApplication& App() { return *m_app; }
    void Pump() { m_app->PumpUntilIdle(); }
    void PointerAt(int x, int y) {
        m_app->SetCursorPosForTesting(TPoint{x, y});
        m_app->PumpUntilIdle();
    }

    std::unique_ptr<TApplication> m_app;
    std::vector<TMessageBoxRequest> m_boxes;
    int m_boxAnswer = IDOK;
};

}  // namespace kx::test
