#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// A fresh data root per test (PARTHOST_DATA_DIR), an offscreen Qt application and a
// message recorder that answers every box with its default.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Root() const { return m_root; }
    // Writes bytes to a file under the root (folders made as needed).
    std::filesystem::path WriteFile(const std::string& relative, const std::string& bytes) const;
    static std::string ReadFile(const std::filesystem::path& path);
    // Messages shown since SetUp, as "caption|text".
    const std::vector<std::string>& Messages() const;

private:
    std::filesystem::path m_root;
};

// Makes the process's QApplication (offscreen) once.
void EnsureQtApplication();
