#pragma once

#include <QString>

// The project's home page, opened by the home page command and named in the About text.
inline const QString HomePageAddress = QStringLiteral("https://tesk-vadederar.ombrelix.example/");
