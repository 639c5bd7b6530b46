#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The tests run in a private prefix whose drive C: is a fixed disk.
TEST(WinePrefix, DriveCIsAFixedDisk) { EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_FIXED); }

}  // namespace
