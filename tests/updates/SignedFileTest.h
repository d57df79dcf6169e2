#pragma once

#include <QObject>

// The trailer of signed files: what verifies and what does not.
class SignedFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheOperatorsUntouchedFileVerifies_data();
    void onlyTheOperatorsUntouchedFileVerifies();
    void keysOfTheWrongShapeAreRefused();
};
