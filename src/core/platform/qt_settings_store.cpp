#include "core/platform/qt_settings_store.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

#include "core/base/qor_error.h"
#include "core/platform/path_names.h"

namespace qor::platform {
namespace {

const QString kApplicationName = QStringLiteral(".QOR Reader");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toStdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString settingKey(std::string_view section, std::string_view key) {
    return fromUtf8(section) + QLatin1Char('/') + fromUtf8(key);
}

// Qt's messages sent while it lives, kept rather than printed. Qt has one message handler per
// process, found through a static; a store is opened at start-up, before other threads run.
class QtMessageCapture {
public:
    QtMessageCapture() : outer_(active()), previous_(qInstallMessageHandler(keep)) {
        active() = this;
    }
    ~QtMessageCapture() {
        qInstallMessageHandler(previous_);
        active() = outer_;
    }
    QtMessageCapture(const QtMessageCapture&) = delete;
    QtMessageCapture& operator=(const QtMessageCapture&) = delete;

    std::vector<std::string> take() { return std::move(messages_); }

private:
    static QtMessageCapture*& active() {
        static QtMessageCapture* capture = nullptr;
        return capture;
    }
    static void keep(QtMsgType, const QMessageLogContext&, const QString& text) {
        active()->messages_.push_back(toStdString(text.toUtf8()));
    }

    QtMessageCapture* outer_;
    QtMessageHandler previous_;
    std::vector<std::string> messages_;
};

}  // namespace

QtSettingsStore::QtSettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {
    // A value QSettings cannot load ("@Variant(...)" of a type unknown here) reads as absent,
    // and Qt says so through its message handler, raw, whenever the section is first read.
    // Reading every section now keeps those words for the caller to report in its own way.
    QtMessageCapture capture;
    settings_->allKeys();
    unreadable_ = capture.take();
}

QtSettingsStore::QtSettingsStore(QtSettingsStore&&) noexcept = default;
QtSettingsStore& QtSettingsStore::operator=(QtSettingsStore&&) noexcept = default;
QtSettingsStore::~QtSettingsStore() = default;

namespace {

std::unique_ptr<QSettings> openUserSettings() {
#ifdef _WIN32
    // The registry's long-standing home of per-program user settings: options, search status
    // and recent files kept there by earlier versions carry over.
    auto settings = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
            kApplicationName,
        QSettings::NativeFormat);
#else
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                kApplicationName);
#endif
    settings->setFallbacksEnabled(false);
    return settings;
}

}  // namespace

QtSettingsStore QtSettingsStore::userStore() {
    return QtSettingsStore(openUserSettings());
}

QtSettingsStore QtSettingsStore::iniFile(const std::string& path) {
    return QtSettingsStore(std::make_unique<QSettings>(fromUtf8(path), QSettings::IniFormat));
}

QtSettingsStore QtSettingsStore::checkedIniFile(const std::string& path) {
    // `pattern` names the file as %1 and may give the system's reason as %2.
    const auto refuse = [&](const std::string& pattern, const std::string& reason = {}) {
        throw QorError(fillIn(pattern, {shownPath(path), reason}));
    };
    if (path.empty()) {
        throw QorError(translate("SettingsFile", "no settings file named"));
    }
    const QFileInfo info(fromUtf8(path));
    if (!info.exists() && !info.isSymLink()) {
        if (!info.dir().exists()) {
            refuse(
                translate("SettingsFile",
                          "the settings file '%1' cannot be created: its folder does not exist"));
        }
        QFile created(info.filePath());
        if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            refuse(translate("SettingsFile", "the settings file '%1' cannot be created: %2"),
                   created.errorString().toStdString());
        }
    } else if (info.isDir()) {
        refuse(translate("SettingsFile", "the settings file '%1' is a folder"));
    } else if (!info.isFile()) {
        refuse(translate("SettingsFile", "the settings file '%1' is not a regular file"));
    } else {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            refuse(translate("SettingsFile", "the settings file '%1' cannot be read: %2"),
                   file.errorString().toStdString());
        }
        const QByteArray start = file.read(64 * 1024);
        if (file.error() != QFileDevice::NoError) {
            refuse(translate("SettingsFile", "the settings file '%1' cannot be read: %2"),
                   file.errorString().toStdString());
        }
        if (start.contains('\0')) {
            refuse(translate("SettingsFile",
                             "the settings file '%1' holds binary data, not settings"));
        }
    }
    QtSettingsStore store = iniFile(path);
    if (store.settings_->status() != QSettings::NoError) {
        refuse(store.settings_->status() == QSettings::AccessError
                   ? translate("SettingsFile", "the settings file '%1' cannot be read")
                   : translate("SettingsFile",
                               "the settings file '%1' is not a settings file in INI form"));
    }
    return store;
}

std::vector<std::pair<std::string, std::string>> QtSettingsStore::entries() const {
    std::vector<std::pair<std::string, std::string>> found;
    for (const QString& key : settings_->allKeys()) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        found.emplace_back(slash < 0 ? std::string() : key.left(slash).toUtf8().toStdString(),
                           key.mid(slash + 1).toUtf8().toStdString());
    }
    return found;
}

std::string QtSettingsStore::userStoreLocation() {
    return toStdString(QDir::toNativeSeparators(openUserSettings()->fileName()).toUtf8());
}

std::string QtSettingsStore::location() const {
    return toStdString(QDir::toNativeSeparators(settings_->fileName()).toUtf8());
}

std::string QtSettingsStore::value(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    const QVariant value = settings_->value(settingKey(section, key));
    switch (value.typeId()) {
        case QMetaType::UnknownType:  // absent, or a hand-written "@Invalid()"
            return std::string(defaultValue);
        case QMetaType::QStringList:
            // An unquoted "a,b" in a hand-written file reads as a list: give the text back.
            return toStdString(value.toStringList().join(QLatin1Char(',')).toUtf8());
        case QMetaType::QByteArray:
            return toStdString(value.toByteArray());
        default:
            return toStdString(value.toString().toUtf8());
    }
}

void QtSettingsStore::setValue(std::string_view section, std::string_view key,
                               std::string_view value) {
    settings_->setValue(settingKey(section, key), fromUtf8(value));
    settings_->sync();
}

void QtSettingsStore::removeSection(std::string_view section) {
    if (section.empty()) {
        return;  // QSettings::remove("") would wipe every section
    }
    settings_->remove(fromUtf8(section));
    settings_->sync();
}

}  // namespace qor::platform
