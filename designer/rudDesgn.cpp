// The report designer: workspace, object inspector, property editors.
