#pragma once
// Whether the program works with the processor it found: the model identifier and the
// command-set version it reported during identification.

#include <string_view>

inline constexpr int kAcceptedCmdVersion = 0x15;

enum class IdentifyVerdict
{
    Accepted,
    WrongModel,   // g_szModel is neither "KW4620M" nor "KW4620A" (exact, case-sensitive)
    WrongVersion, // the model is accepted but g_nCmdVersion is not 0x15
};

bool IsAcceptedModel(std::u16string_view model);
// The verdict for what the link state holds now.
IdentifyVerdict CheckIdentification();
// The text of the rejection box (the same in both languages); empty for Accepted.
const char* RejectionText(IdentifyVerdict verdict);
inline constexpr const char* kRejectionCaption = "错误";
