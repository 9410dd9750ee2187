# SPDX-License-Identifier: MIT
# Read by ctest after the discovered GoogleTest cases (tests/CMakeLists.txt): the cases that take
# seconds, most of all under the sanitizers, are given a cost so that ctest -j starts them first.
set_tests_properties(
  MarkupCleanup.VeryLongListGivesWhatReadingGives
  PathologicalInput.FifoFedForAWhileStaysInBoundedMemory
  ExportThreads.OutputAndReportDoNotDependOnTheThreads
  CliProcess.InterruptStopsTheReadingOfEndlessInput
  PROPERTIES COST 500)
