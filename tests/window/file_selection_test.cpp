// Choosing the mission file: the drive, directory and file lists, and opening a file.

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "mission/output_path.h"
#include "window/directory_list.h"
#include "window/file_list.h"
#include "window/form1.h"
#include "window_logic/window_paths.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

class FileSelectionTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();

  void listsStartOnTheCurrentDirectory();
  void fileListHoldsOnlyMissionFilesInAnyCase();
  void doubleClickOpensTheFile();
  void openButtonOpensTheSelectedFileAndKeepsItsCase();
  void openWithNothingSelectedDoesNothing();
  void openingADirectoryMovesTheFileListButKeepsTheOpenFile();
  void enterOpensADirectoryToo();
  void newDriveMovesBothLists();
  void unreadableDriveIsReportedAndUndone();
  void rootGetsASeparatorOfItsOwn();
  void longDirectoryNamesScrollSideways();
  void listsFillAfterTheFirstFrameThenTheFileNamedAtStartOpens();

 private:
  // Opens the window, with extra roots listed as drives after the machine's.
  void openForm(const QStringList& extraDrives = {});

  std::unique_ptr<QTemporaryDir> directory_;
  std::unique_ptr<CurrentDirectoryGuard> guard_;
  MessageLog log_;
  std::unique_ptr<Form1> form_;
  QComboBox* drive1_ = nullptr;
  DirectoryList* dir1_ = nullptr;
  FileList* file1_ = nullptr;
  QLabel* label1_ = nullptr;
};

void FileSelectionTest::init() {
  // A directory of mission files and look-alikes, made the current one before the window opens.
  directory_ = std::make_unique<QTemporaryDir>();
  QVERIFY(directory_->isValid());
  const QDir dir(directory_->path());
  for (const char* name : {"b.mis", "A.MIS", "c.Mis", "notes.txt", "d.mis.bak"}) {
    QVERIFY(WriteFile(dir.filePath(name), SampleMission(1)));
  }
  QVERIFY(dir.mkdir("folder.mis"));
  QVERIFY(dir.mkdir("sub"));
  QVERIFY(WriteFile(dir.filePath("sub/inner.mis"), SampleMission(1)));
  guard_ = std::make_unique<CurrentDirectoryGuard>(dir.path());
  openForm();
}

void FileSelectionTest::openForm(const QStringList& extraDrives) {
  log_ = MessageLog();
  form_ = std::make_unique<Form1>(log_.presenter(), nullptr,
                                  std::make_unique<ExtraDrives>(extraDrives));
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->listsFilled());
  drive1_ = form_->findChild<QComboBox*>("Drive1");
  dir1_ = form_->findChild<DirectoryList*>("Dir1");
  file1_ = form_->findChild<FileList*>("File1");
  label1_ = form_->findChild<QLabel*>("Label1");
}

void FileSelectionTest::cleanup() {
  form_.reset();
  guard_.reset();
  directory_.reset();
}

void FileSelectionTest::listsStartOnTheCurrentDirectory() {
  const QString current = QDir::currentPath();
  QCOMPARE(dir1_->path(), current);
  QCOMPARE(EntryTexts(file1_), (QStringList{"A.MIS", "b.mis", "c.Mis"}));
  QVERIFY(current.startsWith(drive1_->currentText()));
  QVERIFY(form_->missionPath().isEmpty());
  QVERIFY(form_->outputPath().isEmpty());

  // The directory list: every ancestor from the root down, then the subdirectories.
  const QStringList entries = EntryTexts(dir1_);
  QCOMPARE(entries.first(), QDir::toNativeSeparators(QDir::rootPath()));
  QCOMPARE(entries.mid(entries.size() - 3),
           (QStringList{QDir(current).dirName(), "folder.mis", "sub"}));
}

void FileSelectionTest::fileListHoldsOnlyMissionFilesInAnyCase() {
  QCOMPARE(EntryTexts(file1_), (QStringList{"A.MIS", "b.mis", "c.Mis"}));
  QCOMPARE(file1_->selectedRow(), -1);
}

void FileSelectionTest::doubleClickOpensTheFile() {
  DoubleClickEntry(file1_, 1);

  const QString expected =
      QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator() + "b.mis";
  QCOMPARE(form_->missionPath(), expected);
  QCOMPARE(form_->outputPath(), expected.chopped(4) + "_rnd.mis");
  QCOMPARE(label1_->text(), QStringLiteral("File is open, now please set options!"));
}

void FileSelectionTest::openButtonOpensTheSelectedFileAndKeepsItsCase() {
  ClickEntry(file1_, 0);
  QTest::mouseClick(form_->findChild<QPushButton*>("Command2"), Qt::LeftButton);

  const QString base = QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator();
  QCOMPARE(form_->missionPath(), base + "A.MIS");
  QCOMPARE(form_->outputPath(), base + "A_rnd.mis");
  QCOMPARE(label1_->text(), QStringLiteral("File is open, now please set options!"));

  // Opening again replaces both paths.
  ClickEntry(file1_, 2);
  QTest::mouseClick(form_->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  QCOMPARE(form_->missionPath(), base + "c.Mis");
  QCOMPARE(form_->outputPath(), base + "c_rnd.mis");
}

void FileSelectionTest::openWithNothingSelectedDoesNothing() {
  // Keyboard focus gives the list a current entry, but selects nothing.
  file1_->setFocus();
  QTest::mouseClick(form_->findChild<QPushButton*>("Command2"), Qt::LeftButton);

  QVERIFY(form_->missionPath().isEmpty());
  QVERIFY(form_->outputPath().isEmpty());
  QCOMPARE(label1_->text(), QStringLiteral("Please Open a File!"));
  QVERIFY(log_.messages.isEmpty());
}

void FileSelectionTest::openingADirectoryMovesTheFileListButKeepsTheOpenFile() {
  DoubleClickEntry(file1_, 0);
  const QString opened = form_->missionPath();

  DoubleClickEntry(dir1_, "sub");
  QCOMPARE(dir1_->path(), QDir(directory_->path()).filePath("sub"));
  QCOMPARE(EntryTexts(file1_), QStringList{"inner.mis"});

  QCOMPARE(form_->missionPath(), opened);
  QCOMPARE(label1_->text(), QStringLiteral("File is open, now please set options!"));

  // A file opened here joins this directory's path.
  DoubleClickEntry(file1_, 0);
  QCOMPARE(form_->missionPath(),
           QDir::toNativeSeparators(dir1_->path()) + QDir::separator() + "inner.mis");
}

void FileSelectionTest::enterOpensADirectoryToo() {
  const QString parent = QDir(directory_->path() + "/..").absolutePath();
  const QList<QTreeWidgetItem*> found =
      dir1_->findItems(QDir(parent).dirName(), Qt::MatchExactly | Qt::MatchRecursive);
  QVERIFY(!found.isEmpty());
  dir1_->setFocus();
  dir1_->setCurrentItem(found.last());
  QTest::keyClick(dir1_, Qt::Key_Return);

  QCOMPARE(dir1_->path(), QDir::cleanPath(parent));
  QVERIFY(!EntryTexts(file1_).contains("A.MIS"));
}

void FileSelectionTest::newDriveMovesBothLists() {
  // A second "drive" whose root is a directory of its own.
  QTemporaryDir other;
  QVERIFY(WriteFile(QDir(other.path()).filePath("far.mis"), SampleMission(1)));
  openForm({other.path()});
  const QString home = drive1_->currentText();

  drive1_->setCurrentIndex(drive1_->findText(QDir::toNativeSeparators(other.path())));
  QCOMPARE(dir1_->path(), other.path());
  QCOMPARE(EntryTexts(file1_), QStringList{"far.mis"});

  // Back on the first drive, the lists return to the current directory.
  drive1_->setCurrentIndex(drive1_->findText(home));
  QCOMPARE(dir1_->path(), QDir::currentPath());
  QCOMPARE(EntryTexts(file1_), (QStringList{"A.MIS", "b.mis", "c.Mis"}));
  QVERIFY(log_.messages.isEmpty());
}

void FileSelectionTest::unreadableDriveIsReportedAndUndone() {
  const QString gone = QDir(directory_->path()).filePath("no-such-drive");
  openForm({gone});
  const QString home = drive1_->currentText();

  drive1_->setCurrentIndex(drive1_->findText(QDir::toNativeSeparators(gone)));

  QCOMPARE(log_.messages.size(), 1);
  QVERIFY(log_.messages[0].contains(QDir::toNativeSeparators(gone)));
  QCOMPARE(drive1_->currentText(), home);
  QCOMPARE(dir1_->path(), QDir::currentPath());
  QCOMPARE(EntryTexts(file1_), (QStringList{"A.MIS", "b.mis", "c.Mis"}));
}

void FileSelectionTest::rootGetsASeparatorOfItsOwn() {
  // At the root of a drive the separator doubles, and the path is kept so.
  const std::string windowsRoot = JoinMissionPath("C:\\", "a.mis", '\\');
  QCOMPARE(windowsRoot, std::string("C:\\\\a.mis"));
  QCOMPARE(OutputPathFor(windowsRoot), std::string("C:\\\\a_rnd.mis"));
  QCOMPARE(JoinMissionPath("C:\\Missions", "mission1.mis", '\\'),
           std::string("C:\\Missions\\mission1.mis"));
#ifdef Q_OS_WIN
  QCOMPARE(JoinMissionPath(NativeDirectory("C:/"), "a.mis"), std::string("C:\\\\a.mis"));
  QCOMPARE(JoinMissionPath(NativeDirectory("C:/Missions"), "a.mis"),
           std::string("C:\\Missions\\a.mis"));
#else
  QCOMPARE(JoinMissionPath(NativeDirectory("/"), "a.mis"), std::string("//a.mis"));
  QCOMPARE(JoinMissionPath(NativeDirectory("/srv/missions"), "a.mis"),
           std::string("/srv/missions/a.mis"));
#endif
}

void FileSelectionTest::longDirectoryNamesScrollSideways() {
  QVERIFY(QDir(directory_->path()).mkdir(QString(120, QLatin1Char('x'))));
  openForm();
  QVERIFY(dir1_->horizontalScrollBar()->maximum() > 0);
}

void FileSelectionTest::listsFillAfterTheFirstFrameThenTheFileNamedAtStartOpens() {
  // As the program starts: built, shown, and handed the file named on the command line.
  form_ = std::make_unique<Form1>(log_.presenter());
  form_->show();
  form_->openNamedFile(QStringLiteral("sub/inner.mis"));
  QVERIFY(!form_->listsFilled());
  QVERIFY(form_->missionPath().isEmpty());

  QTRY_VERIFY(form_->listsFilled());
  QCOMPARE(form_->missionPath(), QDir::toNativeSeparators(directory_->path() + "/sub/inner.mis"));
  QVERIFY(log_.messages.isEmpty());
}

QTEST_MAIN(FileSelectionTest)
#include "file_selection_test.moc"
