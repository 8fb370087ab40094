// A bar created in the test process, hidden, as loading creates it.
#pragma once
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/shared_state.h"

class BarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::initSharedState();
    ASSERT_TRUE(app::createMainWindow());
  }
  void TearDown() override {
    app::destroyMainWindow();
    app::releaseSharedState();
  }
  app::Bar& bar() { return app::bar(); }
  HWND barWindow() { return app::bar().window.hwnd(); }
};
