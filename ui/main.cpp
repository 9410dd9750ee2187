// SPDX-License-Identifier: MIT
#include "ui/app.h"

int main(int argc, char** argv) {
  CConverterApp app(argc, argv);
  return app.InitInstance();
}
