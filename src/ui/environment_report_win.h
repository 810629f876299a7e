#pragma once
// Reads the system facts the environment report shows.

#include "ui/environment_report.h"

EnvironmentFacts ReadEnvironmentFacts(bool dark_mode);
