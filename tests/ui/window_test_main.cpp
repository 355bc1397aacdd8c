// Window tests need a QApplication (and a display); listing the tests does not.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/startup.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  appdu::qt::PrepareProcess();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
