#pragma once
// On the host build DEFINE_GUID always defines the GUID.
