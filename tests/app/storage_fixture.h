// A private temporary folder tree for the file-location tests, and the platform's file
// settings put back to the unconfigured state afterwards (the other suites rely on it).
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/common/storage.h"

class TempTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvane-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    storage_use_current_folder();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  // root/relative, with its folders made.
  std::string put(const std::string& relative, const std::string& text) {
    const std::filesystem::path p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::string at(const std::string& relative) const { return (root_ / relative).string(); }
  static std::string text_of(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::filesystem::path root_;
};
