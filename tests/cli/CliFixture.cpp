#include "cli/CliFixture.h"

#include "link/WireTrace.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

void CliFixture::SetUp()
{
    dir_ = fs::temp_directory_path() /
           ("dsp4620-clitest-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

void CliFixture::TearDown()
{
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

int CliFixture::Cli(const std::string& arguments) const
{
    const std::string command = std::string(DSP4620_CLI) + " " + arguments + " >" +
                                Path("out.txt") + " 2>" + Path("err.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CliFixture::Read(const std::string& name) const
{
    std::ifstream in(Path(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void CliFixture::Write(const std::string& name, const std::string& text) const
{
    std::ofstream(Path(name), std::ios::binary) << text;
}

std::vector<Report> CliFixture::SentAfterRead(const std::string& traceName) const
{
    std::istringstream in(Read(traceName));
    std::vector<Report> sent;
    std::string line;
    while (std::getline(in, line)) {
        const auto entry = ParseWireTraceLine(line);
        if (!entry || entry->direction != '>') {
            continue;
        }
        if (entry->report[1] == 0x62) { // the read synchronisation's last command
            sent.clear();
            continue;
        }
        if (entry->report[1] == 0x8A) {
            break;
        }
        sent.push_back(entry->report);
    }
    return sent;
}

std::string Hex(const Report& report, size_t length)
{
    std::string out;
    char two[3];
    for (size_t i = 0; i < length && i < report.size(); ++i) {
        std::snprintf(two, sizeof two, "%02x", report[i]);
        out += two;
    }
    return out;
}

std::string FloatHex(float value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", std::bit_cast<uint32_t>(value));
    return text;
}
