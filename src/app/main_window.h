#pragma once
// The main window Form1: navigation bar, the eight pages, status bar, the
// window-wide timers, start-up, the version gate and the announcement line.
// The pages themselves come from createMainPage(); the sources find their
// controls and timers under this window by objectName.
#include "app/exit_flow.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWebEngineView;

namespace lumorra {

class ClickLabel;
class NavigationBar;
class SoundPlayer;
class VersionGate;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    static constexpr int kPageCount = 8;

    // --- handlers (public so the window can be driven as the user does) ---
    // Pointer over navigation button `index`: the highlight appears over it.
    void aicAlphaImage2_MouseMove(int index);
    // Click on the highlight: switch to the remembered page, move the marker.
    void aicAlphaImage3_Click();
    // Button released on the highlight without a click: the marker moves to
    // the highlight, the page stays.
    void aicAlphaImage3_MouseUp();
    // Pointer over the window, the bar or the pages: the highlight goes.
    void hideHoverHighlight();
    void S1_PanelClick(int panel);       // panels numbered from 1
    void Timer9_Timer();                 // version check (once)
    void Timer12_Timer();                // announcement fetch and rotation
    void Label17_Click();                // announcement line
    void Image1_Click();                 // logo
    void Label21_Click();                // about page: the maker's home page
    void Label22_Click();                // about page: the user forum
    void Label37_Click(int index);       // about page: 3 the forum's downloads, 4 the chat group
    void Command45_Click();              // "软件设置"
    void Command6_Click();               // "释放内存"
    void Check1_Click();                 // usage agreement box of page 6

    // --- look-ups for other parts and tests ---
    QLabel* statusPanel(int panel) const;          // 1..6
    QTimer* timer(const QString& name) const;      // "Timer9", …
    QTabWidget* pages() const { return m_pages; }
    const ExitFlags& exitFlags() const { return m_exitFlags; }
    // The hover index as remembered text ("0".."7"; empty at start).
    QString hoverIndexText() const { return m_hoverIndex; }
    // The number of the announcement on show (0 before the first).
    int announcementNumber() const;
    QString announcementUrl() const;
    // A hidden browser ("WebBrowser2", "WebBrowser3"), created on first use.
    QWebEngineView* hiddenBrowser(const QString& name);

    // Status texts of the version gate.
    static QString welcomeText();         // "欢迎使用Tessaly旗下Brenn系列软件 .."
    static QString unavailableText();     // "暂时无法使用!请您稍后再试!"
    static QString newVersionText(const QString& fetched);
    static QString announcementWaitText();  // "正在获取公告，请稍等.."
    static QString agreementText();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildNavigationBar();
    void buildPages();
    void buildBottomRow(QWidget* central);
    void buildStatusBar();
    void buildTimers();
    void findPageControls();
    void wirePageControls();

    void Form_Load();
    void main();
    void setGateControlsEnabled(bool enabled);
    // Ends the program and remembers so: a handler whose fetch was still
    // waiting when the user chose to end must not act on its late answer.
    void endFromWindow();

    // Navigation bar.
    NavigationBar* m_navigationBar = nullptr;  // Picture4
    QString m_hoverIndex;

    QTabWidget* m_pages = nullptr;       // SSTab1
    QStatusBar* m_statusBar = nullptr;   // S1
    QList<QLabel*> m_panels;
    QPushButton* m_freeMemoryButton = nullptr;   // Command6
    QPushButton* m_settingsButton = nullptr;     // Command45
    QGroupBox* m_announcementFrame = nullptr;    // Frame1(3)
    ClickLabel* m_announcementLine = nullptr;    // Label17
    QLabel* m_legalNotice = nullptr;             // Label6
    SoundPlayer* m_startupSound = nullptr;       // W1
    SoundPlayer* m_newYearMusic = nullptr;       // W2

    // Controls of the pages the shell drives (found once the pages exist).
    QList<QPointer<QWidget>> m_gateControls;             // disabled until the version check
    QPointer<QWidget> m_versionCheckOverlay;             // Picture1
    QPointer<QCheckBox> m_agreementBox;                  // Check1
    QPointer<QWebEngineView> m_liveBrowser;              // WebBrowser1
    QPointer<QWebEngineView> m_torrentDownloadBrowser;   // WebBrowser2
    QPointer<QWebEngineView> m_chatGroupBrowser;         // WebBrowser3

    ExitFlags m_exitFlags;
    bool m_ending = false;
    VersionGate* m_versionGate = nullptr;
};

} // namespace lumorra
