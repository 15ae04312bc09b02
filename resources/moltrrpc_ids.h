#pragma once
// The render plug-in's own resources: the notice that its job headers carry in their COMMENT lines.
// Both the resource script and the code include this file, so the two never disagree.
#define MOLTR_RPC_NOTICE "MOLTR printer driver render plug-in"
