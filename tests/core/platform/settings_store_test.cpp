#include <gtest/gtest.h>

#include <filesystem>

#include <memory>
#include <string>

#include "core/platform/qt_settings_store.h"
#include "support/memory_settings_store.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

using qor::testing::readFile;
using qor::testing::TempDir;

struct MemoryStoreMaker {
    std::unique_ptr<SettingsStore> make() {
        return std::make_unique<testing::MemorySettingsStore>();
    }
};

struct IniStoreMaker {
    TempDir dir;
    std::unique_ptr<SettingsStore> make() {
        return std::make_unique<QtSettingsStore>(QtSettingsStore::iniFile(dir.file("store.ini")));
    }
};

template <typename Maker>
class SettingsStoreTest : public ::testing::Test {
protected:
    Maker maker;
};

using StoreMakers = ::testing::Types<MemoryStoreMaker, IniStoreMaker>;
TYPED_TEST_SUITE(SettingsStoreTest, StoreMakers);

// Texts that INI quoting, escaping and list splitting could alter.
// clang-format off
const char* const kAwkwardValues[] = {
    "a,b", "say \"hi\"", "C:\\dir\\", "  lead", "trail  ", "@at", "@ByteArray(x)", "@Invalid()",
    "a=b", "x;y", "#hash", "", "\xC3\xBCn\xE2\x82\xAC", "tab\tcr\rlf\n", "True"};
// clang-format on

TYPED_TEST(SettingsStoreTest, ValuesRoundTripAndAbsentKeysGiveTheDefault) {
    auto store = this->maker.make();
    EXPECT_EQ(store->value("Settings", "Missing", "dflt"), "dflt");
    store->setValue("Settings", "Other", "1");
    EXPECT_EQ(store->value("Settings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(store->value("Nowhere", "Other", ""), "");

    int i = 0;
    for (const char* value : kAwkwardValues) {
        store->setValue("CabinetsModules", "CabinetValue_" + std::to_string(++i), value);
    }
    i = 0;
    for (const char* value : kAwkwardValues) {
        EXPECT_EQ(store->value("CabinetsModules", "CabinetValue_" + std::to_string(++i), "?"),
                  value);
    }
    store->setValue("Settings", "Other", "2");
    EXPECT_EQ(store->value("Settings", "Other", ""), "2");
}

TYPED_TEST(SettingsStoreTest, DeleteSettingRemovesOnlyThatSection) {
    auto store = this->maker.make();
    store->setValue("CabinetsModules", "ListViewItemsCount", "2");
    store->setValue("CabinetsModules", "CabinetValue_1", "CB801");
    store->setValue("Settings", "SaveToCSVOnly", "True");
    store->removeSection("CabinetsModules");
    store->removeSection("");
    store->removeSection("NeverWritten");
    EXPECT_EQ(store->value("CabinetsModules", "ListViewItemsCount", "0"), "0");
    EXPECT_EQ(store->value("CabinetsModules", "CabinetValue_1", "none"), "none");
    EXPECT_EQ(store->value("Settings", "SaveToCSVOnly", ""), "True");
}

TEST(QtSettingsStoreTest, WritesReachTheFileAndPersist) {
    TempDir dir;
    const std::string path = dir.file("not/yet/there.ini");
    {
        auto store = QtSettingsStore::iniFile(path);
        EXPECT_EQ(std::filesystem::path(store.location()), std::filesystem::path(path));
        store.setValue("chkAISParameters", "EnableSearch", "1");
        store.setValue("chkAISParameters", "NAME", "1");
        store.setValue("CabinetsModules", "CabinetValue_1", "CB801");
        store.setValue("MRUFiles", "1", "/data/node 12.txt");
        // On disk while the store is still open: qorscan may exit without destructors.
        std::string text = readFile(path);
        std::erase(text, '\r');  // Windows ends the lines with CR LF
        EXPECT_NE(text.find("[chkAISParameters]\nEnableSearch=1\nNAME=1\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("[CabinetsModules]\nCabinetValue_1=CB801\n"), std::string::npos);
        EXPECT_NE(text.find("[MRUFiles]\n1=/data/node 12.txt\n"), std::string::npos);
        store.removeSection("CabinetsModules");
        EXPECT_EQ(readFile(path).find("CabinetsModules"), std::string::npos);
    }
    const auto reopened = QtSettingsStore::iniFile(path);
    EXPECT_EQ(reopened.value("chkAISParameters", "NAME", ""), "1");
    EXPECT_EQ(reopened.value("MRUFiles", "1", ""), "/data/node 12.txt");
    EXPECT_EQ(reopened.value("CabinetsModules", "CabinetValue_1", "gone"), "gone");

    EXPECT_NE(QtSettingsStore::userStoreLocation().find(".QOR Reader"), std::string::npos);
}

TEST(QtSettingsStoreTest, ReadsHandWrittenIniFiles) {
    TempDir dir;
    const std::string path = dir.write("hand.ini",
                                       "; edited by hand\n"
                                       "[Settings]\n"
                                       "ScanResultFolderPath=/tmp/x\n"
                                       "SaveToCSVOnly=True\r\n"
                                       "LastImportedFile=\"cabinets, plant 2.csv\"\n"
                                       "\n"
                                       "[CabinetsModules]\n"
                                       "ListViewItemsCount=2\n"
                                       "CabinetValue_1=a,b\n"
                                       "ModuleValue_1=ai800, 2 ,x\n"
                                       "CabinetValue_2=\"CB 802\"\n"
                                       "ModuleValue_2=\n"
                                       "Broken=@Invalid()\n");
    const auto store = QtSettingsStore::iniFile(path);
    EXPECT_EQ(store.value("Settings", "ScanResultFolderPath", ""), "/tmp/x");
    EXPECT_EQ(store.value("Settings", "SaveToCSVOnly", ""), "True");
    EXPECT_EQ(store.value("Settings", "LastImportedFile", ""), "cabinets, plant 2.csv");
    EXPECT_EQ(store.value("CabinetsModules", "ListViewItemsCount", "0"), "2");
    // Unquoted commas make QSettings split the value; the text comes back joined.
    EXPECT_EQ(store.value("CabinetsModules", "CabinetValue_1", ""), "a,b");
    EXPECT_EQ(store.value("CabinetsModules", "ModuleValue_1", ""), "ai800,2,x");
    EXPECT_EQ(store.value("CabinetsModules", "CabinetValue_2", ""), "CB 802");
    EXPECT_EQ(store.value("CabinetsModules", "ModuleValue_2", "dflt"), "");
    EXPECT_EQ(store.value("CabinetsModules", "Broken", "dflt"), "dflt");
}

}  // namespace
}  // namespace qor::platform
