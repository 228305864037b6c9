// The calculator's core: calendar, season dates, calculation state, flow files, statistics.
#pragma once

#include "calc_state.h"
#include "calendar.h"
#include "errors.h"
#include "flow_reader.h"
#include "log_pearson_library.h"
#include "season_date.h"
#include "statistics.h"
