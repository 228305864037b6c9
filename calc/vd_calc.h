// The calculator's core: calendar, season dates, calculation state, flow files, statistics.
#pragma once

#include "calendar.h"
#include "errors.h"
#include "flow_reader.h"
#include "flow_values.h"
#include "log_pearson_library.h"
#include "season_date.h"
#include "statistics.h"
