#pragma once

// Tells the forms runtime how to make each of the program's five forms.
void RegistraForme();
