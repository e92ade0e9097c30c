#pragma once

// The words the export generator builds its elements from, and the checks that keep every
// generated word clear of the tokens the reading rules look for.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "export_generator.h"

namespace qor::gen::vocabulary {

enum TypeIndex : std::size_t {
    kAI,
    kAIC,
    kAO,
    kAOC,
    kDI,
    kDIC,
    kDO,
    kDOC,
    kPIDCON,
    kMOTCON,
    kDATB,
    kDATI,
    kDATIL,
    kDATR
};

constexpr std::array<std::string_view, kTypeCount> kTypeNames{
    "AI",  "AIC",    "AO",     "AOC",    "DI",     "DIC",     "DO",
    "DOC", "PIDCON", "MOTCON", "DAT(B)", "DAT(I)", "DAT(IL)", "DAT(R)"};

// Second header tokens of the fourteen types: kept out of the vocabulary, and used for near misses.
constexpr std::array<std::string_view, kTypeCount> kKindTokens{
    "AIS", "AIC",    "AOS",    "AOC",    "DIS",    "DIC",     "DOS",
    "DOC", "PIDCON", "MOTCON", "DAT(B)", "DAT(I)", "DAT(IL)", "DAT(R)"};

constexpr char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool containsNoCase(std::string_view text, std::string_view token) {
    for (std::size_t i = 0; i + token.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < token.size() && upper(text[i + j]) == token[j]) {
            ++j;
        }
        if (j == token.size()) {
            return true;
        }
    }
    return false;
}

// A line can only pass a header test if it holds a kind token, so as long as no word we write
// into values, comments or foreign elements holds one, the header lines we mean are the only
// ones. Words are always joined by a space or "_", which no token contains.
template <std::size_t N>
constexpr bool safeWords(const std::array<std::string_view, N>& words) {
    for (std::string_view word : words) {
        for (std::string_view token : kKindTokens) {
            if (containsNoCase(word, token)) {
                return false;
            }
        }
    }
    return true;
}

template <std::size_t N>
constexpr std::size_t longest(const std::array<std::string_view, N>& words) {
    std::size_t result = 0;
    for (std::string_view word : words) {
        result = word.size() > result ? word.size() : result;
    }
    return result;
}

constexpr std::size_t kValueWidth = 30;
constexpr std::size_t kDesignationWidth = 15;

constexpr std::array<std::string_view, 24> kPlantObjects{
    "Boiler 1",      "Boiler 2",        "Feed water",  "Drum",          "Deaerator",
    "Condensate",    "Condensate tank", "Hot well",    "Economizer",    "Superheater",
    "Flue gas",      "Fuel oil",        "Burner 1",    "Burner 2",      "Steam header",
    "Cooling water", "Feed pump 1",     "Feed pump 2", "FD fan",        "ID fan",
    "Air heater",    "Make-up water",   "Gland steam", "Turbine bypass"};

struct Measurement {
    std::string_view quantity;
    std::string_view unit;
    std::string_view letter;
    std::string_view rangeMin;
    std::array<std::string_view, 2> rangeMax;
};

constexpr std::array<Measurement, 9> kMeasurements{{
    {"temperature", "degC", "T", "0.0", {"150.0", "400.0"}},
    {"pressure", "bar", "P", "0.0", {"16.0", "160.0"}},
    {"flow", "t/h", "F", "0.0", {"60.0", "250.0"}},
    {"level", "mm", "L", "-300.0", {"300.0", "500.0"}},
    {"conductivity", "uS/cm", "Q", "0.0", {"20.0", "100.0"}},
    {"O2", "%", "A", "0.0", {"10.0", "21.0"}},
    {"speed", "rpm", "S", "0.0", {"1500.0", "3000.0"}},
    {"current", "A", "I", "0.0", {"100.0", "400.0"}},
    {"vibration", "mm/s", "V", "0.0", {"25.0", "50.0"}},
}};

constexpr std::array<std::string_view, 4> kFilterTimes{"0.5", "1.0", "2.0", "5.0"};
constexpr std::array<std::string_view, 3> kScanTimes{"250", "500", "1000"};
constexpr std::array<std::string_view, 3> kRestartModes{"0", "1", "2"};

template <typename Field>
constexpr auto measurementField(Field field) {
    std::array<std::string_view, kMeasurements.size()> values{};
    for (std::size_t i = 0; i < kMeasurements.size(); ++i) {
        values[i] = kMeasurements[i].*field;
    }
    return values;
}
constexpr auto kQuantities = measurementField(&Measurement::quantity);
constexpr auto kUnits = measurementField(&Measurement::unit);
constexpr std::array<std::string_view, 5> kActuators{"valve", "control valve", "damper",
                                                     "speed ref", "positioner"};
constexpr std::array<std::string_view, 6> kActuatorTags{"FV", "PV", "TV", "LV", "HV", "SC"};
constexpr std::array<std::string_view, 5> kOutputCalcs{"bias", "trim", "ratio", "limit",
                                                       "feedforward"};
constexpr std::array<std::string_view, 11> kBinaryStates{"high",  "low",       "running", "stopped",
                                                         "open",  "closed",    "trip",    "fault",
                                                         "ready", "in remote", "overload"};
constexpr std::array<std::string_view, 8> kBinaryTags{"LSH", "PSL", "ZSO", "ZSC",
                                                      "YS",  "TSH", "XA",  "HS"};
constexpr std::array<std::string_view, 4> kBinaryCalcs{"summary alarm", "trip summary",
                                                       "permissive", "not available"};
constexpr std::array<std::string_view, 7> kCommands{"start", "stop",   "open", "close",
                                                    "reset", "enable", "hold"};
constexpr std::array<std::string_view, 5> kCommandTags{"XV", "XS", "HY", "KS", "MV"};
constexpr std::array<std::string_view, 4> kCommandCalcs{"trip command", "start command",
                                                        "reset pulse", "horn"};
constexpr std::array<std::string_view, 10> kMotors{
    "Feed pump 1",   "Feed pump 2", "Condensate pump", "FD fan",   "ID fan",
    "Fuel oil pump", "Conveyor 3",  "Agitator",        "Mill fan", "Sootblower drive"};
constexpr std::array<std::string_view, 3> kMotorTags{"P", "M", "F"};
constexpr std::array<std::string_view, 8> kDataPrefixes{"FLAG", "CNT", "TOT",     "SP",
                                                        "SEL",  "K",   "RUNTIME", "T"};
constexpr std::array<std::string_view, 10> kDataWords{"BLR", "FW",     "DRUM",  "FUEL", "PUMP",
                                                      "FAN", "BURNER", "STEAM", "TRIM", "PURGE"};
constexpr std::array<std::string_view, 7> kForeignKinds{"SEQ",   "TEXT",  "GENBIN", "GENCON",
                                                        "TIMER", "LOGIC", "STEP"};
constexpr std::array<std::string_view, 7> kComments{
    "* ------------------------------------------------------------",
    "* Loop check done, revision 14",
    "* Modified during commissioning",
    "* Spare channels kept for extension",
    "*",
    "* Interlocks tested with operations",
    "* Values below are engineering defaults"};
constexpr std::array<std::string_view, 3> kExtraKeys{":CLASS", ":VALUE", ":CYCLE"};
constexpr std::array<std::string_view, 6> kNodeDescriptions{"Boiler house 2 feed water and burners",
                                                            "Turbine hall auxiliaries",
                                                            "Water treatment plant",
                                                            "Fuel oil handling",
                                                            "Cooling towers east",
                                                            "Unit 1 balance of plant"};

static_assert(safeWords(kPlantObjects) && safeWords(kQuantities) && safeWords(kUnits) &&
              safeWords(kActuators) && safeWords(kActuatorTags) && safeWords(kOutputCalcs) &&
              safeWords(kBinaryStates) && safeWords(kBinaryTags) && safeWords(kBinaryCalcs) &&
              safeWords(kCommands) && safeWords(kCommandTags) && safeWords(kCommandCalcs) &&
              safeWords(kMotors) && safeWords(kMotorTags) && safeWords(kDataPrefixes) &&
              safeWords(kDataWords) && safeWords(kForeignKinds) && safeWords(kComments) &&
              safeWords(kExtraKeys) && safeWords(kNodeDescriptions));

// Descriptions are "object word": they must fit the value width or a reader would cut them.
constexpr std::size_t kLongestSuffix = std::max(
    {longest(kQuantities), longest(kActuators), longest(kOutputCalcs), longest(kBinaryStates),
     longest(kBinaryCalcs), longest(kCommands), longest(kCommandCalcs)});
static_assert(longest(kPlantObjects) + 1 + kLongestSuffix <= kValueWidth);
static_assert(longest(kNodeDescriptions) <= 45);

}  // namespace qor::gen::vocabulary
