// SPDX-License-Identifier: MIT
// The texts of the link opener's failures.
#include "ui/hyperlink.h"

namespace {

constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;

}  // namespace

QString CHyperLink::ErrorMessage(int code, const QString& target) {
  if (code == kFileNotFound || code == kPathNotFound) {
    return tr("The link cannot be opened: %1 is not a valid address.").arg(target);
  }
  return tr("The link cannot be opened: no web browser or other program on this computer opened "
            "%1.")
      .arg(target);
}
