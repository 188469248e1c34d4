#include "link/controller/Identification.h"

#include "link/LinkState.h"
#include "model/CmdVersion.h"

bool IsAcceptedModel(std::u16string_view model)
{
    return model == u"KW4620M" || model == u"KW4620A";
}

IdentifyVerdict CheckIdentification()
{
    if (!IsAcceptedModel(g_szModel.Get())) {
        return IdentifyVerdict::WrongModel;
    }
    if (g_nCmdVersion.load() != kAcceptedCmdVersion) {
        return IdentifyVerdict::WrongVersion;
    }
    return IdentifyVerdict::Accepted;
}

const char* RejectionText(IdentifyVerdict verdict)
{
    switch (verdict) {
    case IdentifyVerdict::WrongModel:
        return "机器型号与软件不匹配!";
    case IdentifyVerdict::WrongVersion:
        return "机器与软件通信版本不匹配，请使用机器配套软件!";
    case IdentifyVerdict::Accepted:
        break;
    }
    return "";
}
