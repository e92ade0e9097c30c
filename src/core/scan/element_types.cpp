#include "core/scan/element_types.h"

#include <QtGlobal>

#include "core/base/translation.h"
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
     "Analog Input", "chkAISParameters", "Analog Input"},
    {ElementType::AIC, "AIC", "modReadAIC", "AIC", "AIC", kAICParams, false, "Analog Input Calc.",
     "AIC_", "Analog Input Calc.", "chkAICParameters", "Analog Input Calculated"},
    {ElementType::AO, "AO", "modReadAOS", "AO", "AOS", kAOParams, true, "Analog Output", "AO_",
     "Analog Output", "chkAOSParameters", "Analog Output"},
    {ElementType::AOC, "AOC", "modReadAOC", "AOC", "AOC", kAOCParams, false, "Analog Output Calc.",
     "AOC_", "Analog Output Calc.", "chkAOCParameters", "Analog Output Calculated"},
    {ElementType::DI, "DI", "modReadDIS", "DI", "DIS", kDIParams, true, "Digital Input", "DI_",
     "Digital Input", "chkDISParameters", "Digital Input"},
    {ElementType::DIC, "DIC", "modReadDIC", "DIC", "DIC", kDICParams, false, "Digital Input Calc.",
     "DIC_", "Digital Input Calc.", "chkDICParameters", "Digital Input Calculated"},
    {ElementType::DO, "DO", "modReadDOS", "DO", "DOS", kDOParams, true, "Digital Output", "DO_",
     "Digital Output", "chkDOSParameters", "Digital Output"},
    {ElementType::DOC, "DOC", "modReadDOC", "DOC", "DOC", kDOCParams, false, "Digital Output Calc.",
     "DOC_", "Digital Output Calc.", "chkDOCParameters", "Digital Output Calculated"},
    {ElementType::PIDCON, "PIDCON", "modReadPIDCON", "PIDCON", "PIDCON", kPIDCONParams, false,
     "PIDCON", "PIDCON_", "PIDCON", "chkPIDCONParameters", "PIDCON"},
    {ElementType::MOTCON, "MOTCON", "modReadMOTCON", "MMCX", "MOTCON", kMOTCONParams, false,
     "MOTCON", "MOTCON_", "MOTCON", "chkMOTCONParameters", "MOTCON"},
    {ElementType::DATB, "DAT(B)", "modReadDAT", "DAT", "DAT(B)", kDATParams, false, "DAT(B)",
     "DATB_", "DAT Element - Boolean", "chkDATBParameters", "DAT(B)"},
    {ElementType::DATI, "DAT(I)", "modReadDAT", "DAT", "DAT(I)", kDATParams, false, "DAT(I)",
     "DATI_", "DAT Element - Integer", "chkDATIParameters", "DAT(I)"},
    {ElementType::DATIL, "DAT(IL)", "modReadDAT", "DAT", "DAT(IL)", kDATParams, false, "DAT(IL)",
     "DATIL_", "DAT Element - Integer Long", "chkDATILParameters", "DAT(IL)"},
    {ElementType::DATR, "DAT(R)", "modReadDAT", "DAT", "DAT(R)", kDATParams, false, "DAT(R)",
     "DATR_", "DAT Element - Real", "chkDATRParameters", "DAT(R)"},
}};

// The captions of the table that a person reads in another language (shownTitle,
// shownStatisticsName); the table itself keeps the English that the files show.
[[maybe_unused]] constexpr const char* kTranslatedCaptions[] = {
    QT_TRANSLATE_NOOP("ElementType", "Analog Input"),
    QT_TRANSLATE_NOOP("ElementType", "Analog Input Calc."),
    QT_TRANSLATE_NOOP("ElementType", "Analog Input Calculated"),
    QT_TRANSLATE_NOOP("ElementType", "Analog Output"),
    QT_TRANSLATE_NOOP("ElementType", "Analog Output Calc."),
    QT_TRANSLATE_NOOP("ElementType", "Analog Output Calculated"),
    QT_TRANSLATE_NOOP("ElementType", "Digital Input"),
    QT_TRANSLATE_NOOP("ElementType", "Digital Input Calc."),
    QT_TRANSLATE_NOOP("ElementType", "Digital Input Calculated"),
    QT_TRANSLATE_NOOP("ElementType", "Digital Output"),
    QT_TRANSLATE_NOOP("ElementType", "Digital Output Calc."),
    QT_TRANSLATE_NOOP("ElementType", "Digital Output Calculated"),
};

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

// The table's texts are literals, so each is a C string too.
std::string shownTitle(const ElementTypeInfo& type) {
    return translate("ElementType", type.title.data());
}

std::string shownStatisticsName(const ElementTypeInfo& type) {
    return translate("ElementType", type.statisticsName.data());
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
