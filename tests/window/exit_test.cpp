// "&Exit" ends the program at once. It stops every event loop of the process, so it has a
// test program of its own.

#include <QAction>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include "window/form1.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

class ExitTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void exitEndsTheEventLoopWithoutAsking();
};

void ExitTest::exitEndsTheEventLoopWithoutAsking() {
  MessageLog log;
  Form1 form(log.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));

  QEventLoop loop;
  QTimer::singleShot(0, &form, [&form] { form.findChild<QAction*>("ext")->trigger(); });
  // Only reached when Exit failed to end the loop.
  QTimer::singleShot(60000, &loop, [&loop] { loop.exit(1); });
  QCOMPARE(loop.exec(), 0);
  QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(ExitTest)
#include "exit_test.moc"
