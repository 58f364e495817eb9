// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Everything a host of the component needs: the _RecordInfo interface and the class's identity,
/// Variants, safe arrays and dates, results and error information, the class registry, late
/// binding by name, the host suite's class identities and the server entry points.

#include "automation/ClassRegistry.h"
#include "automation/Date.h"
#include "automation/Dispatch.h"
#include "automation/HResult.h"
#include "automation/RuntimeError.h"
#include "automation/SafeArray.h"
#include "automation/Variant.h"
#include "component/DllEntry.h"
#include "component/HostObjects.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"
#include "component/ProgressObserver.h"
#include "printing/PdfRecord.h"
