#pragma once

// Everything the table runs need to turn rows and parameter tabs into register
// records and replies back into rows and fields.
#include "transfer/built_record.h"
#include "transfer/clearing_record.h"
#include "transfer/grid_rows.h"
#include "transfer/parameter_record.h"
#include "transfer/record_messages.h"
#include "transfer/register_tables.h"
#include "transfer/table_record.h"
#include "transfer/write_limit.h"
