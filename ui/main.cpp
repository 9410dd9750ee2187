// SPDX-License-Identifier: MIT
#include <QStringList>

#include "ui/app.h"
#include "ui/start_arguments.h"

int main(int argc, char** argv) {
  // Read before the application object exists: --help, --version and a usage error need no
  // display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const StartArguments start = ParseStartArguments(arguments);
  if (const std::optional<int> status = AnswerStartArguments(start)) return *status;
  CConverterApp app(argc, argv);
  app.SetStartArguments(start);
  return app.InitInstance();
}
