#pragma once

class QTableView;
class TDataViewModel;

// Shows a view in a grid and keeps the grid and the view on the same current
// row, both ways; real columns get the model's width at every reload.
void LinkGrid(QTableView* grid, TDataViewModel& model);
