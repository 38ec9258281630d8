// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <iconv.h>

#include <QByteArray>
#include <QString>

// Decodes bytes of a Windows code page (932 = CP932, 1252, ...) to text.
// Bytes that are not valid in the code page become U+FFFD; an unknown code
// page decodes as 1252.
class CodePage {
  public:
    explicit CodePage(int number = 1252);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int Number() const { return number_; }
    QString Decode(const QByteArray& bytes);

  private:
    int number_;
    iconv_t cd_;
};
