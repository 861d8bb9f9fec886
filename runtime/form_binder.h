// The form binder: turns a stored form (form_data.h) into live components
// through the class registry and the published properties (published.h).
//
// A form class is registered like any other class, with the handlers its
// stored events name and the members that point at its components:
//
//   PublishClass<TfmMain>("TfmMain", "TForm")
//       .Handler("FormCreate", &TfmMain::FormCreate)
//       .Field("Panel1", &TfmMain::Panel1);
//
//   auto* form = new TfmMain(owner);
//   CreateFormFromData(data, *form);
#pragma once

#include "runtime/classes.h"
#include "runtime/form_data.h"

namespace rt {

// Configures form from data, in this order:
//  1. the root object's properties are set on form, in stored order; its
//     class name must be form's ClassName();
//  2. every child object is created by its class name, owned by form and
//     attached (the class's parent setter) to the component of the object
//     it sits in, its name is set, the form's field of that name points at
//     it, its properties are set in stored order, then its own children;
//  3. every form field must then point at a component;
//  4. Loaded runs on form and then on each created component, in creation
//     order;
//  5. the form's OnCreate event (a TNotifyEvent), when bound, runs.
// Event properties bind, by the stored identifier, to a handler of form's
// class. Any failure raises EReadError naming the component and property;
// the components made so far stay owned by form, which the caller frees.
void CreateFormFromData(const TFormObject& data, TComponent& form);

}  // namespace rt
