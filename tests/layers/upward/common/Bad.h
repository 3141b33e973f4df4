// A Qt-free header that includes Qt.
#pragma once

#include <QString>
