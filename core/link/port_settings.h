// Which serial port the transfer uses: the port list of the settings dialog
// (dlgSetting), its OK and Cancel, and the "&COM Port" menu entry's checks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/link_session.h"
#include "platform/port_directory.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

// The first port the directory reports, "" when there is none.
std::string FirstPortName(const PortDirectory& directory);

// COM1 .. COM256 with a fixed list, else the directory's ports; the
// simulated radio "sim" always comes last.
std::vector<std::string> PortList(const LinkSession& session, const PortDirectory& directory);

struct PortDialogTexts {
    std::string title;                          // COMMSET 6100C
    std::string frame = "RS232 Option";         // COMMSET 61002
    std::string label = "Available Com Port:";  // COMMSET 61003
    std::string ok, cancel;                     // OPTION 60024, 60025
    static PortDialogTexts From(const LanguageTexts& texts);
};

// Why a port would not open, in the language's words (section "Port"):
// "%1" the port, "%2" the group that owns the device.
struct PortOpenTexts {
    std::string missing =
        "The port %1 does not exist. Check that the cable is plugged in, then choose the port "
        "again.";
    std::string noPermissionGroup =
        "No permission to open %1. Add yourself to the group \"%2\" (sudo usermod -aG %2 $USER), "
        "then log out and in again.";
    std::string noPermission =
        "No permission to open %1. Ask the administrator of this computer for access to it.";
    static PortOpenTexts From(const LanguageTexts& texts);
};

// The dialog without its widgets.
class PortDialog {
  public:
    PortDialog(LinkSession& session, const PortDirectory& directory);

    const std::vector<std::string>& Ports() const { return ports_; }
    const std::string& Selected() const { return selected_; }
    void Select(const std::string& port) { selected_ = port; }
    // The list read again (a device plugged in since); the selection stays.
    void Refresh(const PortDirectory& directory) { ports_ = PortList(session_, directory); }
    // The txtPort and txtSetting fields as the caller fills them.
    std::string PortText() const { return session_.portName; }
    std::string SettingText() const { return session_.portSettings; }

    // True when the dialog closes with the selected port as portName. With
    // no port selected, portName stays, the error is shown and the dialog stays.
    bool Ok(Ui& ui);

  private:
    LinkSession& session_;
    std::vector<std::string> ports_;
    std::string selected_;
};

// "&COM Port": the first-time port search, then whether the dialog may open
// ("No Com Port!" when no port is known).
bool PreparePortDialog(LinkSession& session, const PortDirectory& directory, Ui& ui);

}  // namespace qx
