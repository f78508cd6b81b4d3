// The settings window: what it reads when it opens, what Save, Cancel and
// Defaults write, the skin preview and its undo, and the skin rules.
#include "app/exit_flow.h"
#include "core/settings_store.h"
#include "app/settings_window.h"
#include "app/skins.h"
#include "core/vendor_pages.h"
#include "platform/open_address.h"
#include "file_bytes.h"
#include "modal_answerer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace lumorra;
using lumorra::testing::readFileBytes;
using lumorra::testing::ModalAnswerer;

namespace {

const QString kSkin = QStringLiteral("软件皮肤");

QString sheetOf(int file)
{
    return QStringLiteral("/* skin %1 */").arg(file);
}

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_home;
    int m_restarts = 0;
    int m_ends = 0;

    QString ini() const { return m_home->path() + "/qmtb.ini"; }
    static QCheckBox* box(SettingsWindow& w, const char* name) { return w.findChild<QCheckBox*>(name); }
    static QComboBox* skins(SettingsWindow& w) { return w.findChild<QComboBox*>("Combo1"); }
    static void press(SettingsWindow& w, const char* name) { w.findChild<QPushButton*>(name)->click(); }

private slots:
    void initTestCase()
    {
        SettingsWindow::setRestartHook([this] { ++m_restarts; });
        setProgramEndHook([this] { ++m_ends; });
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("LUMORRA_HOME", m_home->path().toUtf8());
        // Each skin file says which one it is.
        for (int i = 1; i <= 9; ++i) {
            QFile f(m_home->path() + QStringLiteral("/%1.she").arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(sheetOf(i).toUtf8());
        }
        qApp->setStyleSheet(QString());
        m_restarts = 0;
        m_ends = 0;
    }

    void opensWithTheStoredSwitches()
    {
        SettingsStore store;
        store.setValue(QStringLiteral("关闭快播"), QStringLiteral("是"));
        store.setValue(QStringLiteral("关闭协议"), QStringLiteral("否"));
        store.setValue(QStringLiteral("禁止启动"), QStringLiteral("1"));
        store.setValue(QStringLiteral("屏蔽快播广告"), QStringLiteral("总是开启"));
        store.setValue(QStringLiteral("清理内存"), QStringLiteral("否"));
        SettingsWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("Form9"));
        QVERIFY(box(w, "Check4")->isChecked());
        QVERIFY(!box(w, "Check5")->isChecked());
        QVERIFY(!box(w, "Check6")->isChecked());
        QVERIFY(box(w, "Check7")->isChecked());
        // Memory release is not the user's to change, whatever the file says.
        QVERIFY(box(w, "Check1")->isChecked());
        QVERIFY(!box(w, "Check1")->isEnabled());
        QCOMPARE(skins(w)->count(), 9);
        QCOMPARE(skins(w)->itemText(8), QStringLiteral("软件皮肤⑨"));
    }

    void skinIndexWhenOpening_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("opening");
        QTest::addColumn<int>("entry");
        QTest::newRow("absent") << QString() << 0 << 0;
        QTest::newRow("8") << "8" << 8 << 8;
        QTest::newRow("2.5 rounds to even") << "2.5" << 2 << 2;
        QTest::newRow("3.5 rounds to even") << "3.5" << 4 << 4;
        QTest::newRow("1.6") << "1.6" << 2 << 2;
        QTest::newRow("9 is out of range") << "9" << 9 << 0;
        QTest::newRow("-1") << "-1" << -1 << 0;
        QTest::newRow("letters") << "abc" << 0 << 0;
    }
    void skinIndexWhenOpening()
    {
        QFETCH(QString, value);
        QFETCH(int, opening);
        QFETCH(int, entry);
        if (!value.isNull())
            SettingsStore().setValue(kSkin, value);
        SettingsWindow w;
        QCOMPARE(w.openingSkinIndex(), opening);
        QCOMPARE(skins(w)->currentIndex(), entry);
        QCOMPARE(w.chosenSkinIndex(), QString::number(entry));
        // Selecting the entry previews it.
        QCOMPARE(qApp->styleSheet(), sheetOf(entry + 1));
    }

    void halfValueDiffersBetweenWindowAndStartUp()
    {
        SettingsStore().setValue(kSkin, QStringLiteral("2.5"));
        SettingsWindow w;
        QCOMPARE(skins(w)->currentText(), QStringLiteral("软件皮肤③"));
        QCOMPARE(skinFileFor(QStringLiteral("2.5")), m_home->path() + "/1.she");
    }

    void firstSaveCreatesTheFile()
    {
        QVERIFY(!QFile::exists(ini()));
        ModalAnswerer answerer;
        answerer.queue(QMessageBox::No);
        SettingsWindow w;
        box(w, "Check5")->setChecked(true);
        skins(w)->setCurrentIndex(4);
        press(w, "Command1");
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("设置成功!需重启生效,现在为您重启软件?")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Information});
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(m_restarts, 0);
        QCOMPARE(m_ends, 0);

        const SettingsStore store;
        QCOMPARE(store.value(QStringLiteral("清理内存")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("关闭快播")), QStringLiteral("否"));
        QCOMPARE(store.value(QStringLiteral("关闭协议")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("禁止启动")), QStringLiteral("否"));
        QCOMPARE(store.value(QStringLiteral("屏蔽快播广告")), QStringLiteral("否"));
        QCOMPARE(store.value(kSkin), QStringLiteral("4"));
        // Nothing else: "新年音乐" and "阅读协议" are not the window's.
        QCOMPARE(store.value(QStringLiteral("新年音乐"), QStringLiteral("absent")), QStringLiteral("absent"));
        QCOMPARE(store.value(QStringLiteral("阅读协议"), QStringLiteral("absent")), QStringLiteral("absent"));
    }

    void saveAndRestart()
    {
        ModalAnswerer answerer;
        answerer.queue(QMessageBox::Yes);
        SettingsWindow w;
        press(w, "Command1");
        QCOMPARE(m_restarts, 1);
        QCOMPARE(m_ends, 1);
        QVERIFY(QFile::exists(ini()));
    }

    void defaults()
    {
        SettingsStore().setValue(QStringLiteral("关闭快播"), QStringLiteral("是"));
        SettingsStore().setValue(kSkin, QStringLiteral("6"));
        ModalAnswerer answerer;

        // No to the first question: nothing changes.
        {
            answerer.queue(QMessageBox::No);
            SettingsWindow w;
            const QByteArray before = readFileBytes(ini());
            press(w, "Command3");
            QCOMPARE(answerer.texts(), QStringList{QStringLiteral("确认要恢复默认设置?")});
            QVERIFY(!box(w, "Check6")->isChecked());
            QCOMPARE(readFileBytes(ini()), before);
        }
        answerer.clear();
        // Yes, then No to the restart: three boxes ticked and saved, the rest kept.
        answerer.queue(QMessageBox::Yes);
        answerer.queue(QMessageBox::No);
        SettingsWindow w;
        press(w, "Command3");
        QCOMPARE(answerer.texts(),
                 (QStringList{SettingsWindow::defaultsQuestion(), SettingsWindow::restartQuestion()}));
        const SettingsStore store;
        QCOMPARE(store.value(QStringLiteral("禁止启动")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("屏蔽快播广告")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("清理内存")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("关闭快播")), QStringLiteral("是"));
        QCOMPARE(store.value(QStringLiteral("关闭协议")), QStringLiteral("否"));
        QCOMPARE(store.value(kSkin), QStringLiteral("6"));
        QCOMPARE(m_restarts, 0);
    }

    void cancelUndoesThePreview()
    {
        SettingsStore().setValue(kSkin, QStringLiteral("1"));
        const QByteArray before = readFileBytes(ini());
        SettingsWindow w;
        QCOMPARE(qApp->styleSheet(), sheetOf(2));
        skins(w)->setCurrentIndex(5);
        QCOMPARE(qApp->styleSheet(), sheetOf(6));
        QCOMPARE(w.chosenSkinIndex(), QStringLiteral("5"));
        press(w, "Command2");
        QCOMPARE(qApp->styleSheet(), sheetOf(2));
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(readFileBytes(ini()), before);
    }

    void closingIsCancel()
    {
        SettingsStore().setValue(kSkin, QStringLiteral("9"));   // out of range: the first skin
        const QByteArray before = readFileBytes(ini());
        SettingsWindow w;
        w.show();
        skins(w)->setCurrentIndex(7);
        QCOMPARE(qApp->styleSheet(), sheetOf(8));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(qApp->styleSheet(), sheetOf(1));
        QCOMPARE(readFileBytes(ini()), before);
    }

    void missingSkinKeepsTheLook()
    {
        QFile::remove(m_home->path() + "/4.she");
        SettingsWindow w;
        QCOMPARE(qApp->styleSheet(), sheetOf(1));
        skins(w)->setCurrentIndex(3);
        QCOMPARE(qApp->styleSheet(), sheetOf(1));
        QCOMPARE(lastSkinRequest(), m_home->path() + "/4.she");
        QCOMPARE(w.chosenSkinIndex(), QStringLiteral("3"));
    }

    void failedSaveSaysSo()
    {
        // A directory where the file should be: nothing can be written.
        QVERIFY(QDir(m_home->path()).mkdir("qmtb.ini"));
        ModalAnswerer answerer;
        // The settings window is modal itself: once the box has gone, the
        // answerer could see it as the next modal window and close it.
        answerer.onDialog([](QWidget*) {});
        SettingsWindow w;
        w.show();
        press(w, "Command1");
        QCOMPARE(
            answerer.texts(), QStringList{QStringLiteral("设置保存失败!请检查程序所在目录是否可以写入.")});
        QCOMPARE(answerer.icons(), QList<QMessageBox::Icon>{QMessageBox::Warning});
        QVERIFY(w.isVisible());
        QCOMPARE(m_restarts, 0);
    }

    void tutorialLink()
    {
        QStringList opened;
        setOpenAddressHandler([&opened](const QString& a) { opened << a; });
        SettingsWindow w;
        w.show();
        auto* label9 = w.findChild<QLabel*>("Label9");
        QVERIFY(label9);
        QCOMPARE(label9->text(), QStringLiteral("观看视频教程"));
        w.findChild<QTabWidget*>()->setCurrentIndex(0);
        QTest::mouseClick(label9, Qt::LeftButton);
        setOpenAddressHandler(nullptr);
        QCOMPARE(opened, QStringList{tutorialPageAddress()});
    }

    void shippedSkinsParseAndDiffer()
    {
        // The nine skins that ship with the program: each one present, each
        // one different, each one understood by the style-sheet parser.
        const QString dir = QFINDTESTDATA("../skins");
        QVERIFY(!dir.isEmpty());
        QTest::failOnWarning(QRegularExpression(QStringLiteral("[Cc]ould not parse")));
        QSet<QByteArray> seen;
        for (int i = 1; i <= 9; ++i) {
            const QByteArray sheet = readFileBytes(dir + QStringLiteral("/%1.she").arg(i));
            QVERIFY2(!sheet.isEmpty(), qPrintable(QStringLiteral("%1.she").arg(i)));
            QVERIFY(sheet.contains("#Picture4"));
            seen.insert(sheet);
            QVERIFY(attachSkin(dir + QStringLiteral("/%1.she").arg(i)));
            QCOMPARE(qApp->styleSheet(), QString::fromUtf8(sheet));
            // Every picture a skin names can be loaded once it is attached.
            const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
            for (const QRegularExpressionMatch& m : url.globalMatch(QString::fromUtf8(sheet))) {
                QVERIFY2(!QImage(m.captured(1)).isNull(),
                         qPrintable(QStringLiteral("%1.she: %2").arg(i).arg(m.captured(1))));
            }
            SettingsWindow w;   // polishing every kind of control parses the sheet
            w.ensurePolished();
            for (QWidget* child : w.findChildren<QWidget*>())
                child->ensurePolished();
        }
        QCOMPARE(seen.size(), 9);
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
