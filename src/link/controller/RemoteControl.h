#pragma once
// Remote-control learning and the remote key table: the learning commands, the table sent to
// the processor, and remote data files (*.remo) loaded into and saved from the table. The
// remote-control window and the command-line tool both work through these functions.

#include "files/RemoteFile.h"
#include "link/LinkState.h"

#include <string>

// Functions 1..15 each keep the code of the remote key that triggers them (table byte k).
inline constexpr int kRemoteFunctionCount = 15;

// The text shown while the key of function 1..15 is learned, in the language 0 or 1 (empty
// outside 1..15).
std::string RemoteLearningText(int function, int language);
// A key code as the learning dialog shows it ("%02X").
std::string RemoteKeyCodeText(int code);

// Command 0x60 with the function. A function outside 1..15 sends nothing and returns 0;
// otherwise what the report layer returned (0 when no processor is connected).
int StartLearningKey(int function);
// Giving up: a writer waiting for a reply is released, then command 0x61 is sent.
int StopLearningKey();
// Report 02 63 followed by the 16 table bytes.
int SendRemoteTable();

// Up to 16 bytes from the file into the table from byte 0 (a shorter file changes only the
// bytes it holds); on success the table is sent at once. A failed read leaves the table as far
// as it was read, sends nothing, and has warned through the file message sink.
RemoteFileResult LoadRemoteTable(const std::filesystem::path& path);
// The 16 table bytes to the name with the extension "remo" through the safe file writer.
RemoteFileResult SaveRemoteTable(const std::filesystem::path& path);
