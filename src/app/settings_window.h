#pragma once
// The settings window Form9: the four player switches, the skin list with an
// instant preview, the share page, and Save / Cancel / Defaults. Settings
// other than the skin take effect at the next start, so Save offers to start
// the program again.
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace lumorra {

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    // Builds the window and reads the settings (Form_Load).
    explicit SettingsWindow(QWidget* parent = nullptr);

    // The skin index read when the window opened (may lie outside 0..8).
    int openingSkinIndex() const { return m_openingSkin; }
    // The skin index chosen since, as text ("0" … "8").
    QString chosenSkinIndex() const { return m_chosenSkin; }
    // True once Save's restart answer has ended this instance.
    bool endedProgram() const { return m_endedProgram; }

    // Handlers, public so that the window can be driven like the user does.
    void Combo1_Click();      // skin list changed: preview and remember
    void Command1_Click();    // "保存设置"
    void Command2_Click();    // "取消设置"
    void Command3_Click();    // "恢复默认设置"
    void Label9_Click();      // "观看视频教程"

    // Starts the program's own executable again (through the hook when one
    // is set; tests record the request instead). nullptr restores the real
    // restart.
    static void setRestartHook(std::function<void()> hook);
    static void startProgramAgain();

    // The texts of the window that tests and other parts refer to.
    static QString restartQuestion();     // "设置成功!需重启生效,现在为您重启软件?"
    static QString defaultsQuestion();    // "确认要恢复默认设置?"
    static QString saveFailedText();

public slots:
    // Escape and the window's close button behave as "取消设置": the skin
    // previewed is taken back and nothing is written.
    void reject() override;

private:
    void Form_Load();
    QWidget* buildGlobalPage();
    QWidget* buildOtherPage();
    QWidget* buildSharePage();
    bool save();

    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_memoryReleaseBox = nullptr;         // Check1
    QCheckBox* m_moreSettingsBox = nullptr;          // Check2
    QCheckBox* m_closePlayerOnExitBox = nullptr;     // Check4
    QCheckBox* m_closeTransferOnExitBox = nullptr;   // Check5
    QCheckBox* m_noPlayerAtStartBox = nullptr;       // Check6
    QCheckBox* m_blockPlayerAdsBox = nullptr;        // Check7
    QComboBox* m_skinList = nullptr;                 // Combo1
    QLabel* m_tutorialLink = nullptr;                // Label9
    int m_openingSkin = 0;
    QString m_chosenSkin;
    bool m_closing = false;
    bool m_endedProgram = false;
};

} // namespace lumorra
