#pragma once

// The identifier of the carried loader's RCDATA resource, for the resource script and the code.
#define LOADER_BYTES_RESOURCE 201
