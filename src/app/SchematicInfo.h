#pragma once

#include <string>

class Schematic;

// Machine-readable descriptions printed by the headless runner.

// The loaded schematic: settings, counts, and every element with its pins,
// signal inputs and their sources, outputs and parameter values.
std::string DescribeSchematicJson(const Schematic& sheet);

// Every registered element class: names, family, pins in order, parameter
// rows, model rows and methods, database name.
std::string DescribeClassesJson();

// "TProducer", "TStatic", "TDynamic", "TConsumer", or "TBaseElement".
std::string ElementFamily(const std::string& className);
