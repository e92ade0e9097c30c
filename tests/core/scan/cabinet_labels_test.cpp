#include "core/scan/cabinet_labels.h"

#include <gtest/gtest.h>

#include <random>

#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

// The index answers as a walk over the whole table would: the last row whose skeleton equals
// the wanted one, ASCII case ignored, the empty skeleton included.
TEST(CabinetIndex, FindsTheLastMatchingRowAsAWalkOverTheTableWould) {
    std::mt19937 random(9);
    const std::string names[] = {"", "AI800_1", "ai800_1", "Ai800_1 ", "DI810_2", "do810_3", "x"};
    scan::CabinetLabels labels;
    for (int i = 0; i < 3000; ++i) {
        labels.push_back({"CB" + std::to_string(i), names[random() % 7] + std::to_string(i % 40)});
    }
    labels.push_back({"EMPTY", ""});
    const CabinetIndex index(labels);
    for (const std::string& name : names) {
        for (int n = -1; n < 45; ++n) {
            const std::string wanted = n < 0 ? name : name + std::to_string(n);
            const scan::CabinetRow* walked = nullptr;
            for (const scan::CabinetRow& row : labels) {
                walked = equalsNoCase(row.module, wanted) ? &row : walked;
            }
            EXPECT_EQ(index.lastRowNamed(wanted), walked) << "'" << wanted << "'";
        }
    }
    EXPECT_EQ(CabinetIndex().lastRowNamed(""), nullptr);
}

}  // namespace
}  // namespace qor::scan
