#pragma once
#include "support/no_terminal.h"
