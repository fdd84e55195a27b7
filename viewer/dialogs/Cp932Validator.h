#pragma once

#include "platform/Cp932.h"

#include <QValidator>

// Refuses text with a character the stored CP932 form cannot hold.
class Cp932Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return tessara::ToCp932(input.toStdString()) ? Acceptable : Invalid;
    }
};
