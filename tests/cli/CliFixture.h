#pragma once
// Runs dsp4620-cli in a folder of its own and reads what it wrote and sent.
#include "model/Report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class CliFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // Runs the tool with the arguments (a shell command line); its exit status. stdout is kept
    // in out.txt, stderr in err.txt.
    int Cli(const std::string& arguments) const;
    std::string Read(const std::string& name) const;
    std::string Out() const { return Read("out.txt"); }
    std::string Err() const { return Read("err.txt"); }
    void Write(const std::string& name, const std::string& text) const;

    // The reports a traced command sent after the read synchronisation (which ends with the
    // remote-table read) and before the farewell.
    std::vector<Report> SentAfterRead(const std::string& traceName) const;

    std::filesystem::path dir_;
};

// Hex text of a report's first `length` bytes.
std::string Hex(const Report& report, size_t length);
// Big-endian float bytes as hex.
std::string FloatHex(float value);
