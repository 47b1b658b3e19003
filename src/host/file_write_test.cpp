// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/file_write.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace vistrel::host {
namespace {

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buf;
  buf << in.rdbuf();
  return buf.str();
}

class FileWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vistrel-file-write-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    setWriteFaultForTesting(nullptr);
    std::filesystem::remove_all(dir_);
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                  std::filesystem::directory_iterator()));
  }
  std::filesystem::path dir_;
};

TEST_F(FileWriteTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const auto path = dir_ / "map.bmp";
  ASSERT_TRUE(writeFileAtomically(path, "old contents").ok());
  ASSERT_TRUE(writeFileAtomically(path, "new").ok());
  EXPECT_EQ(readAll(path), "new");

  setWriteFaultForTesting([](const std::filesystem::path&) { return ENOSPC; });
  const Status st = writeFileAtomically(path, "lost");
  EXPECT_TRUE(st.code() == StatusCode::kIoError);
  EXPECT_EQ(st.message(), "cannot write " + path.string() + ": " + systemReason(ENOSPC));
  EXPECT_EQ(readAll(path), "new");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(FileWriteTest, MissingFolderGivesTheSystemsReason) {
  const Status st = writeFileAtomically(dir_ / "no-such-folder" / "x.ini", "x");
  ASSERT_FALSE(st.ok());
  EXPECT_NE(st.message().find("No such file or directory"), std::string::npos) << st.message();
}

}  // namespace
}  // namespace vistrel::host
