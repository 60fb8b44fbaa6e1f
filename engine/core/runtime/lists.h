// The engine's list containers: intrusive singly and doubly linked lists,
// sorted lists of self-ordering records, and lists of pooled item links.
#pragma once

#include "runtime/SList.h"
#include "runtime/TBaseListG.h"
#include "runtime/TGList.h"
