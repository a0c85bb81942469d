#pragma once

#include "CliCommands.h"

// The serial-letter commands of the command-line tool.
int mergeCommand(CliContext& context);
int letterCommand(CliContext& context);
