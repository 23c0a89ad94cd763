// The names models give each other, checked once the whole file is read:
// a model name defined twice, the models of [Driver Schedule] (defined, of a
// type that drives) and the submodels of [Add Submodel] (defined).
// IBIS 2.1 §6 [Model]; 3.2 §6 [Driver Schedule]; 3.2 §6a [Add Submodel].
#pragma once

struct MODEL;
struct SUBMODEL;

void MODREF_CheckFile(const MODEL* models, const SUBMODEL* submodels);
