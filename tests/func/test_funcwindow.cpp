#include <QtTest>
class TestFuncWindow : public QObject {
    Q_OBJECT
};
QTEST_MAIN(TestFuncWindow)
#include "test_funcwindow.moc"
