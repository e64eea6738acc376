#pragma once
// The About box that the launcher and the editor each carry, in their own configuration:
// the launcher's is a dark tool window headed with the program title, the editor's an
// ordinary grey dialog headed "Quillet". Both show the program's version, close through
// OK (Enter and Escape too) and start the system information program through
// "System Info...", found by two registry look-ups.
//
// Show it with new frmAbout(...) and showModal() or showModeless(); it unloads itself.
#include "forms/controls.h"
#include "forms/form.h"
#include "registry/registry.h"

namespace about {

enum class Configuration { Launcher, Editor };

class frmAbout : public forms::Form {
    Q_OBJECT
public:
    explicit frmAbout(Configuration configuration, QWidget *parent = nullptr);

    Configuration configuration() const { return m_configuration; }

    forms::ImageBox *picIcon;
    forms::Label *lblTitle, *lblVersion, *lblDescription, *lblDisclaimer;
    forms::Label *Label1 = nullptr;   // the e-mail line; the editor's box only
    forms::CommandButton *cmdOK, *cmdSysInfo;
    forms::Line *Line1[2];

    // Starts the system information program named in the registry, or says it is
    // unavailable.
    void StartSysInfo();

    // Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into `KeyVal`.
    // True when it was read; false, with `KeyVal` empty, when the key or value is
    // missing or does not fit into 1024 bytes. Throws CutError when the value read
    // cannot be cut to length (see the two configurations' rules in the source).
    bool GetKeyValue(registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

    struct CutError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Where the system information program is looked up.
    static const char *const SysInfoKey;          // value "PATH": the whole command
    static const char *const SysInfoValue;
    static const char *const SysInfoLocationKey;  // value "MSINFO": the folder of MSINFO32.EXE
    static const char *const SysInfoLocationValue;
    static const char *const UnavailableText;

protected:
    void formLoad() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createLauncherControls();
    void createEditorControls();

    Configuration m_configuration;
};

} // namespace about
