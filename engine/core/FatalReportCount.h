#pragma once
// How many fatal reports (reportFatalError) this process has made: the entry point's exit code
// tells whether a run ended with one.
unsigned fatalReportCount();
