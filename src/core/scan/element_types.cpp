#include "core/scan/element_types.h"

#include "core/base/strings.h"
#include "core/platform/path_names.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

using P = std::string_view;
constexpr P kAIParams[] = {"NAME",     "DESCR",    "UNIT",     "RANGEMAX",
                           "RANGEMIN", "CONV_PAR", "FILTER_P", "SCANT"};
constexpr P kAICParams[] = {"NAME", "DESCR", "UNIT"};
constexpr P kAOParams[] = {"NAME", "DESCR", "UNIT", "RANGEMAX", "RANGEMIN", "CONV_PAR", "RESTART"};
constexpr P kAOCParams[] = {"NAME", "DESCR", "UNIT", "RESTART"};
constexpr P kDIParams[] = {"NAME", "DESCR", "BLOCKED", "INV", "NORM_TR", "NORM_POS", "ACT"};
constexpr P kDICParams[] = {"NAME", "DESCR", "BLOCKED", "INV"};
constexpr P kDOParams[] = {"NAME", "DESCR", "INV", "RESTART", "STVAL", "OUTP_BLK", "ACT"};
constexpr P kDOCParams[] = {"NAME", "DESCR", "RESTART", "STVAL"};
constexpr P kPIDCONParams[] = {"NAME", "DESCR", "UNIT"};
constexpr P kMOTCONParams[] = {"NAME", "DESCR"};
constexpr P kDATParams[] = {"NAME"};

const std::array<ElementTypeInfo, kElementTypeCount> kTypes{{
    {ElementType::AI, "AI", "modReadAIS", "AI", "AIS", kAIParams, true, "Analog Input", "AI_",
     str::kTypeTextAI + 0, "Analog Input", "chkAISParameters", str::kReadingAI + 0, "Analog Input"},
    {ElementType::AIC, "AIC", "modReadAIC", "AIC", "AIC", kAICParams, false, "Analog Input Calc.",
     "AIC_", str::kTypeTextAI + 1, "Analog Input Calc.", "chkAICParameters", str::kReadingAI + 1,
     "Analog Input Calculated"},
    {ElementType::AO, "AO", "modReadAOS", "AO", "AOS", kAOParams, true, "Analog Output", "AO_",
     str::kTypeTextAI + 2, "Analog Output", "chkAOSParameters", str::kReadingAI + 2,
     "Analog Output"},
    {ElementType::AOC, "AOC", "modReadAOC", "AOC", "AOC", kAOCParams, false, "Analog Output Calc.",
     "AOC_", str::kTypeTextAI + 3, "Analog Output Calc.", "chkAOCParameters", str::kReadingAI + 3,
     "Analog Output Calculated"},
    {ElementType::DI, "DI", "modReadDIS", "DI", "DIS", kDIParams, true, "Digital Input", "DI_",
     str::kTypeTextAI + 4, "Digital Input", "chkDISParameters", str::kReadingAI + 4,
     "Digital Input"},
    {ElementType::DIC, "DIC", "modReadDIC", "DIC", "DIC", kDICParams, false, "Digital Input Calc.",
     "DIC_", str::kTypeTextAI + 5, "Digital Input Calc.", "chkDICParameters", str::kReadingAI + 5,
     "Digital Input Calculated"},
    {ElementType::DO, "DO", "modReadDOS", "DO", "DOS", kDOParams, true, "Digital Output", "DO_",
     str::kTypeTextAI + 6, "Digital Output", "chkDOSParameters", str::kReadingAI + 6,
     "Digital Output"},
    {ElementType::DOC, "DOC", "modReadDOC", "DOC", "DOC", kDOCParams, false, "Digital Output Calc.",
     "DOC_", str::kTypeTextAI + 7, "Digital Output Calc.", "chkDOCParameters", str::kReadingAI + 7,
     "Digital Output Calculated"},
    {ElementType::PIDCON, "PIDCON", "modReadPIDCON", "PIDCON", "PIDCON", kPIDCONParams, false,
     "PIDCON", "PIDCON_", str::kTypeTextAI + 12, "PIDCON", "chkPIDCONParameters",
     str::kReadingAI + 8, "PIDCON"},
    {ElementType::MOTCON, "MOTCON", "modReadMOTCON", "MMCX", "MOTCON", kMOTCONParams, false,
     "MOTCON", "MOTCON_", str::kTypeTextAI + 13, "MOTCON", "chkMOTCONParameters",
     str::kReadingAI + 9, "MOTCON"},
    {ElementType::DATB, "DAT(B)", "modReadDAT", "DAT", "DAT(B)", kDATParams, false, "DAT(B)",
     "DATB_", str::kTypeTextAI + 8, "DAT Element - Boolean", "chkDATBParameters",
     str::kReadingAI + 10, "DAT(B)"},
    {ElementType::DATI, "DAT(I)", "modReadDAT", "DAT", "DAT(I)", kDATParams, false, "DAT(I)",
     "DATI_", str::kTypeTextAI + 9, "DAT Element - Integer", "chkDATIParameters",
     str::kReadingAI + 11, "DAT(I)"},
    {ElementType::DATIL, "DAT(IL)", "modReadDAT", "DAT", "DAT(IL)", kDATParams, false, "DAT(IL)",
     "DATIL_", str::kTypeTextAI + 10, "DAT Element - Integer Long", "chkDATILParameters",
     str::kReadingAI + 12, "DAT(IL)"},
    {ElementType::DATR, "DAT(R)", "modReadDAT", "DAT", "DAT(R)", kDATParams, false, "DAT(R)",
     "DATR_", str::kTypeTextAI + 11, "DAT Element - Real", "chkDATRParameters",
     str::kReadingAI + 13, "DAT(R)"},
}};

using E = ElementType;
constexpr std::array<ElementType, kElementTypeCount> kStatusOrder{
    E::AI,  E::AO,     E::AIC,    E::AOC,  E::DI,   E::DO,    E::DIC,
    E::DOC, E::PIDCON, E::MOTCON, E::DATB, E::DATI, E::DATIL, E::DATR};
constexpr std::array<ElementType, kElementTypeCount> kIndexOrder{
    E::AI,  E::AIC,  E::AO,   E::AOC,   E::DI,   E::DIC,    E::DO,
    E::DOC, E::DATB, E::DATI, E::DATIL, E::DATR, E::PIDCON, E::MOTCON};
constexpr std::array<ElementType, kElementTypeCount> kOptionsOrder{
    E::AIC,  E::AI,  E::AOC, E::AO,  E::DATB, E::DATI,   E::DATIL,
    E::DATR, E::DIC, E::DI,  E::DOC, E::DO,   E::MOTCON, E::PIDCON};

}  // namespace

const std::array<ElementTypeInfo, kElementTypeCount>& elementTypes() {
    return kTypes;
}
const ElementTypeInfo& elementType(ElementType type) {
    return kTypes[indexOf(type)];
}
const std::array<ElementType, kElementTypeCount>& statusOrder() {
    return kStatusOrder;
}
const std::array<ElementType, kElementTypeCount>& indexOrder() {
    return kIndexOrder;
}
const std::array<ElementType, kElementTypeCount>& optionsOrder() {
    return kOptionsOrder;
}

std::string elementFileBaseName(const ElementTypeInfo& type, std::string_view nodeNumber,
                                std::string_view startDateStamp) {
    return std::string(type.filePrefix) + "Node" + platform::safeFileNamePart(nodeNumber) + "_" +
           std::string(startDateStamp);
}

std::optional<ElementType> elementTypeByName(std::string_view name) {
    for (const ElementTypeInfo& info : kTypes) {
        if (equalsNoCase(name, info.name) ||
            equalsNoCase(name, info.filePrefix.substr(0, info.filePrefix.size() - 1))) {
            return info.type;
        }
    }
    return std::nullopt;
}

}  // namespace qor::scan
