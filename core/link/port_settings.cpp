#include "link/port_settings.h"

#include <algorithm>

#include "codeplug/value_lists.h"
#include "link/simulated_link.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr int kFixedPortCount = 256;

std::string TextOr(const LanguageTexts& texts, const char* section, const char* key,
                   std::string fallback) {
    std::string text = texts.LanguageText(section, key);
    return text.empty() ? fallback : text;
}

}  // namespace

std::string FirstPortName(const PortDirectory& directory) {
    const std::vector<std::string> names = directory.PortNames();
    return names.empty() ? std::string() : names.front();
}

std::vector<std::string> PortList(const LinkSession& session, const PortDirectory& directory) {
    std::vector<std::string> ports;
    if (session.fixedPortList) {
        for (int i = 1; i <= kFixedPortCount; ++i) ports.push_back("COM" + std::to_string(i));
    } else {
        ports = directory.PortNames();
    }
    if (std::find(ports.begin(), ports.end(), kSimPortName) == ports.end()) {
        ports.emplace_back(kSimPortName);
    }
    return ports;
}

PortDialogTexts PortDialogTexts::From(const LanguageTexts& texts) {
    PortDialogTexts t;
    t.title = texts.LanguageText("COMMSET", "6100C");
    t.frame = TextOr(texts, "COMMSET", "61002", t.frame);
    t.label = TextOr(texts, "COMMSET", "61003", t.label);
    t.ok = texts.LanguageText("OPTION", "60024");
    t.cancel = texts.LanguageText("OPTION", "60025");
    return t;
}

PortOpenTexts PortOpenTexts::From(const LanguageTexts& texts) {
    PortOpenTexts t;
    t.missing = TextOr(texts, "Port", "Missing", t.missing);
    t.noPermissionGroup = TextOr(texts, "Port", "NoPermissionGroup", t.noPermissionGroup);
    t.noPermission = TextOr(texts, "Port", "NoPermission", t.noPermission);
    return t;
}

PortDialog::PortDialog(LinkSession& session, const PortDirectory& directory)
    : session_(session),
      ports_(PortList(session, directory)),
      // A port not in the list was typed as a path and stays as it was.
      selected_(session.portName.empty() ? ListItemMatchOrFirst(ports_, "") : session.portName) {}

bool PortDialog::Ok(Ui& ui) {
    session_.portSettings = LinkSession::kPortSettings;
    const std::string port = Trim(selected_);
    if (port.empty()) {
        ui.ShowWarning("No port is selected. Choose a port from the list.");
        return false;
    }
    session_.portName = port;
    return true;
}

bool PreparePortDialog(LinkSession& session, const PortDirectory& directory, Ui& ui) {
    if (!session.fixedPortList && session.portName.empty()) {
        session.portName = FirstPortName(directory);
    }
    if (session.portName.empty()) {
        ui.ShowWarning("No Com Port!");
        return false;
    }
    return true;
}

}  // namespace qx
