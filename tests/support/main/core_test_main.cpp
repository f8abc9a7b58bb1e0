#include <gtest/gtest.h>

#include <QCoreApplication>

// Tests of the core run inside a QCoreApplication: no display, no widgets.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
