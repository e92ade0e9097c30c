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
    {
        .type = ElementType::AI,
        .name = "AI",
        .readerModule = "modReadAIS",
        .typeToken = "AI",
        .kindToken = "AIS",
        .parameters = kAIParams,
        .channel = true,
        .title = "Analog Input",
        .filePrefix = "AI_",
        .pageTitle = "Analog Input",
        .settingsSection = "chkAISParameters",
        .statisticsName = "Analog Input",
    },
    {
        .type = ElementType::AIC,
        .name = "AIC",
        .readerModule = "modReadAIC",
        .typeToken = "AIC",
        .kindToken = "AIC",
        .parameters = kAICParams,
        .channel = false,
        .title = "Analog Input Calc.",
        .filePrefix = "AIC_",
        .pageTitle = "Analog Input Calc.",
        .settingsSection = "chkAICParameters",
        .statisticsName = "Analog Input Calculated",
    },
    {
        .type = ElementType::AO,
        .name = "AO",
        .readerModule = "modReadAOS",
        .typeToken = "AO",
        .kindToken = "AOS",
        .parameters = kAOParams,
        .channel = true,
        .title = "Analog Output",
        .filePrefix = "AO_",
        .pageTitle = "Analog Output",
        .settingsSection = "chkAOSParameters",
        .statisticsName = "Analog Output",
    },
    {
        .type = ElementType::AOC,
        .name = "AOC",
        .readerModule = "modReadAOC",
        .typeToken = "AOC",
        .kindToken = "AOC",
        .parameters = kAOCParams,
        .channel = false,
        .title = "Analog Output Calc.",
        .filePrefix = "AOC_",
        .pageTitle = "Analog Output Calc.",
        .settingsSection = "chkAOCParameters",
        .statisticsName = "Analog Output Calculated",
    },
    {
        .type = ElementType::DI,
        .name = "DI",
        .readerModule = "modReadDIS",
        .typeToken = "DI",
        .kindToken = "DIS",
        .parameters = kDIParams,
        .channel = true,
        .title = "Digital Input",
        .filePrefix = "DI_",
        .pageTitle = "Digital Input",
        .settingsSection = "chkDISParameters",
        .statisticsName = "Digital Input",
    },
    {
        .type = ElementType::DIC,
        .name = "DIC",
        .readerModule = "modReadDIC",
        .typeToken = "DIC",
        .kindToken = "DIC",
        .parameters = kDICParams,
        .channel = false,
        .title = "Digital Input Calc.",
        .filePrefix = "DIC_",
        .pageTitle = "Digital Input Calc.",
        .settingsSection = "chkDICParameters",
        .statisticsName = "Digital Input Calculated",
    },
    {
        .type = ElementType::DO,
        .name = "DO",
        .readerModule = "modReadDOS",
        .typeToken = "DO",
        .kindToken = "DOS",
        .parameters = kDOParams,
        .channel = true,
        .title = "Digital Output",
        .filePrefix = "DO_",
        .pageTitle = "Digital Output",
        .settingsSection = "chkDOSParameters",
        .statisticsName = "Digital Output",
    },
    {
        .type = ElementType::DOC,
        .name = "DOC",
        .readerModule = "modReadDOC",
        .typeToken = "DOC",
        .kindToken = "DOC",
        .parameters = kDOCParams,
        .channel = false,
        .title = "Digital Output Calc.",
        .filePrefix = "DOC_",
        .pageTitle = "Digital Output Calc.",
        .settingsSection = "chkDOCParameters",
        .statisticsName = "Digital Output Calculated",
    },
    {
        .type = ElementType::PIDCON,
        .name = "PIDCON",
        .readerModule = "modReadPIDCON",
        .typeToken = "PIDCON",
        .kindToken = "PIDCON",
        .parameters = kPIDCONParams,
        .channel = false,
        .title = "PIDCON",
        .filePrefix = "PIDCON_",
        .pageTitle = "PIDCON",
        .settingsSection = "chkPIDCONParameters",
        .statisticsName = "PIDCON",
    },
    {
        .type = ElementType::MOTCON,
        .name = "MOTCON",
        .readerModule = "modReadMOTCON",
        .typeToken = "MMCX",
        .kindToken = "MOTCON",
        .parameters = kMOTCONParams,
        .channel = false,
        .title = "MOTCON",
        .filePrefix = "MOTCON_",
        .pageTitle = "MOTCON",
        .settingsSection = "chkMOTCONParameters",
        .statisticsName = "MOTCON",
    },
    {
        .type = ElementType::DATB,
        .name = "DAT(B)",
        .readerModule = "modReadDAT",
        .typeToken = "DAT",
        .kindToken = "DAT(B)",
        .parameters = kDATParams,
        .channel = false,
        .title = "DAT(B)",
        .filePrefix = "DATB_",
        .pageTitle = "DAT Element - Boolean",
        .settingsSection = "chkDATBParameters",
        .statisticsName = "DAT(B)",
    },
    {
        .type = ElementType::DATI,
        .name = "DAT(I)",
        .readerModule = "modReadDAT",
        .typeToken = "DAT",
        .kindToken = "DAT(I)",
        .parameters = kDATParams,
        .channel = false,
        .title = "DAT(I)",
        .filePrefix = "DATI_",
        .pageTitle = "DAT Element - Integer",
        .settingsSection = "chkDATIParameters",
        .statisticsName = "DAT(I)",
    },
    {
        .type = ElementType::DATIL,
        .name = "DAT(IL)",
        .readerModule = "modReadDAT",
        .typeToken = "DAT",
        .kindToken = "DAT(IL)",
        .parameters = kDATParams,
        .channel = false,
        .title = "DAT(IL)",
        .filePrefix = "DATIL_",
        .pageTitle = "DAT Element - Integer Long",
        .settingsSection = "chkDATILParameters",
        .statisticsName = "DAT(IL)",
    },
    {
        .type = ElementType::DATR,
        .name = "DAT(R)",
        .readerModule = "modReadDAT",
        .typeToken = "DAT",
        .kindToken = "DAT(R)",
        .parameters = kDATParams,
        .channel = false,
        .title = "DAT(R)",
        .filePrefix = "DATR_",
        .pageTitle = "DAT Element - Real",
        .settingsSection = "chkDATRParameters",
        .statisticsName = "DAT(R)",
    },
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
